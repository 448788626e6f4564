// Placeholder until the headless run lands: only counts frames.
#include "runtime/pacing.h"

int64_t pacing_frame = 0;
int timeline_step = 0;

void pacing_frame_shown() {}
void pacing_frame_polled() { ++pacing_frame; }
