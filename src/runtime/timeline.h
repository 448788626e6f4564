// The production: every resource prepared once in a fixed order, then the
// fourteen scene loops, each left when the music reaches its end mark.
#pragma once
#include <cstdint>

extern uint32_t* intro_image;    // "intro.jpg", 320 x 200, shown and zoomed first
extern uint32_t* closing_image;  // "feli.jpg", 320 x 200, under the closing words
extern int32_t zoom_start;       // timer_ticks when the intro zoom starts
extern float zoom_factor;        // the intro zoom of the last frame of step 3

// Mounts the archive, loads every asset, prepares every scene and starts the
// music; called by demo_main once the display is open, and by the bench.
void timeline_prepare();
// The eight scene preparations of timeline_prepare, in their order; the
// scene benchmarks call it too.
void timeline_prepare_scenes();

// Called by entry_main; runs the whole production and ends through shutdown.
[[noreturn]] void demo_main(char* line);
