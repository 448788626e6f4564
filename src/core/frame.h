// The frame globals: the one 32-bit frame of the production and its size.
// Pixels hold blue in bits 0..7, green 8..15, red 16..23; the fourth byte has no meaning.
#pragma once
#include <cstdint>

extern int32_t frame_width;        // 320 once the display is open
extern int32_t frame_height;       // 200
extern int32_t frame_pixel_count;  // frame_width * frame_height
extern int32_t row_offset[2000];   // entry y = y * frame_width
extern uint32_t* frame_buffer;     // 2 * frame_pixel_count pixels; the first half is the picture

// Sets the size globals and row_offset, and allocates frame_buffer (the
// picture part black). Called by display_open; tests call it directly.
void frame_allocate(int32_t width, int32_t height);
// Frees frame_buffer if allocated.
void frame_free();
