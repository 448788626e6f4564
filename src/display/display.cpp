// Placeholder until presentation lands: the frame exists, nothing is shown.
#include "display/display.h"

#include "display/frame.h"
#include "runtime/music.h"

bool display_open(int32_t width, int32_t height, bool)
{
    frame_allocate(width, height);
    present_frame(frame_buffer);
    return true;
}

void present_frame(uint32_t*) { music_poll(); }

void release_display() {}
