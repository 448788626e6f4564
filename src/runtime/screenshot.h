// Screenshots: on F1 the window procedure saves the frame shown last as
// "shot%4i.tga" (uncompressed 24-bit TGA) in the working directory.
#pragma once
#include <cstddef>
#include <cstdint>

extern int32_t shot_counter;  // number of the next screenshot; 0 at start-up

// Writes shown_frame to the next numbered file and counts it, also when the
// file cannot be written. Called by the window procedure on F1.
void save_screenshot();

// Bytes of the TGA file of a width x height picture.
constexpr size_t tga_size(int32_t width, int32_t height) { return 18 + size_t(width) * size_t(height) * 3; }

// Encodes width x height pixels of the frame's layout, rows pitch pixels
// apart, as a TGA file into out (tga_size bytes): an 18-byte header, then the
// rows bottom-up, each pixel as blue, green, red.
void tga_encode(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitch, uint8_t* out);

// Writes width x height pixels of the frame's layout as a TGA file
// (tga_encode). A file that cannot be created is skipped silently.
void write_tga(const char* name, const uint32_t* pixels, int32_t width, int32_t height);
