#include "core/music_position.h"

uint32_t music_order = 0;
uint32_t music_row = 0;
