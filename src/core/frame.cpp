#include "core/frame.h"

#include <cstring>

int32_t frame_width = 0;
int32_t frame_height = 0;
int32_t frame_pixel_count = 0;
int32_t row_offset[2000];
uint32_t* frame_buffer = nullptr;

void frame_allocate(int32_t width, int32_t height)
{
    frame_width = width;
    frame_height = height;
    frame_pixel_count = width * height;
    for (int32_t y = 0; y < 2000; ++y)
        row_offset[y] = y * width;
    frame_free();
    frame_buffer = new uint32_t[2 * static_cast<size_t>(frame_pixel_count)];
    std::memset(frame_buffer, 0, 2 * static_cast<size_t>(frame_pixel_count) * sizeof(uint32_t));
}

void frame_free()
{
    delete[] frame_buffer;
    frame_buffer = nullptr;
}
