// Row converters from the frame's 32-bit pixels (blue in bits 0..7, green
// 8..15, red 16..23) to the screen's formats, keeping the top bits of each
// channel. Used by convert_frame once per frame line.
#pragma once
#include <cstdint>

// The 32-bit path: height rows of width pixels copied unchanged, all four
// bytes, to lines pitch bytes apart (one copy when the lines have no gap).
void convert_rows_32(uint8_t* destination, int32_t pitch, const uint32_t* source, int32_t width, int32_t height);
// Bytes blue, green, red per pixel; moves 8 pixels per step.
void convert_row_24(uint8_t* destination, const uint32_t* source, int32_t byte_count);
// 16-bit 5-5-5 (red at 0x7C00) and 5-6-5 (red at 0xF800).
void convert_row_555(uint8_t* destination, const uint32_t* source, int32_t byte_count);
void convert_row_565(uint8_t* destination, const uint32_t* source, int32_t byte_count);
// The same values doubled: each pixel becomes 2 x 2 screen pixels, on this
// line and on the line surface_pitch bytes further down.
void convert_row_555_double(uint8_t* destination, const uint32_t* source, int32_t byte_count);
void convert_row_565_double(uint8_t* destination, const uint32_t* source, int32_t byte_count);
