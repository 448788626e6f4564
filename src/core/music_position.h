// The music position that moves the production on: the order and row being
// heard, refreshed by music_poll once per presented frame and read by the
// timeline and by the scenes' beat and word tables.
#pragma once
#include <cstdint>

extern uint32_t music_order;  // order index of the audible position
extern uint32_t music_row;    // row within that order's pattern
