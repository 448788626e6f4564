// The music and its position clock: the module is the production's clock.
// The timeline loads and starts it, present_frame polls its position once per
// frame, and release_all lets it sink in pitch and fade before freeing it.
#pragma once
#include <cstdint>

#include "core/music_position.h"  // music_order and music_row, which music_poll refreshes

extern bool sound_ready;       // true between a successful music_init and music_stop
extern uint32_t music_handle;  // the loaded module's handle; 0 means none

// Called by music_load when sound_ready is false: checks the player library
// and opens the sound device (the no-sound device when that fails; the
// start-up step chose what the default device is). Fatal when nothing opens.
void music_init();
// Called once by the timeline before the scenes are prepared: loads the
// module name into the player. Fatal when it is missing or no module.
void music_load(const char* name);
// Called once by the timeline after all preparation: plays from order 0, row 0.
void music_start();
// Called by present_frame after each shown frame: refreshes music_order and
// music_row; harmless before music_init.
void music_poll();
// Called by the frame pacing after each frame's poll and trace line: in an
// offline run (headless or capture), stops with an error once the module has
// played to its end twice, since the production would never end.
void music_check_looping();
// Called by release_all: pitch slide-down, volume fade, player freed;
// harmless when nothing was initialised or loaded.
void music_stop();
