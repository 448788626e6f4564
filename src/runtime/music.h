// The music and its position clock: the module is the production's clock.
#pragma once
#include <cstdint>

extern uint32_t music_order;  // order index of the audible position, refreshed by music_poll
extern uint32_t music_row;    // row within that order's pattern

void music_init();
void music_load(const char* name);
void music_start();
// Refreshes music_order and music_row; harmless before music_init.
void music_poll();
// Pitch slide-down, volume fade, library freed; harmless when nothing was started.
void music_stop();
