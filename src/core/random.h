// The program's one pseudo-random sequence, shared by start-up, the flicker
// scene and particle restarts, all drawing in program order.
#pragma once
#include <cstdint>

extern uint32_t random_seed;  // 1 at program start, never reset by the production

// seed := seed * 214013 + 2531011 (mod 2^32); returns (seed >> 16) & 0x7FFF.
int32_t random_next();
