// The timer that animates the scenes: 4000 units a second since start-up,
// read by every scene and by the 3D engine's particles.
#pragma once
#include <cstdint>

// Called by startup: stores the millisecond base of timer_ticks.
void timer_start();
// 4 units per millisecond since timer_start, in wrapping 32-bit arithmetic.
int32_t timer_ticks();
