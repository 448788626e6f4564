// Placeholder until the sound layer lands: no sound, position stays at 0.
#include "runtime/music.h"

uint32_t music_order = 0;
uint32_t music_row = 0;

void music_init() {}
void music_load(const char*) {}
void music_start() {}
void music_poll() {}
void music_stop() {}
