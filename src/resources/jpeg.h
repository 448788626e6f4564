// Decodes JPEG pictures read through the file layer into 32-bit pixels in the
// frame's layout (bytes blue, green, red, 0). Used by the timeline and by the
// scene preparations, each of which knows the size of the pictures it loads.
#pragma once
#include <cstddef>
#include <cstdint>

#include "resources/file.h"

struct jpeg_common_struct;
struct jpeg_decompress_struct;

// Called during preparation for each picture: decodes name into a new buffer
// of width x picture-height pixels, row-major, top row first (free it with
// std::free). The width must be exactly width and the height at least height;
// the height found is stored in *actual_height when that is given. Greyscale
// pictures come out grey. Stops through report_error, naming the file, when
// the picture is missing, has another size, is taller than jpeg_max_height
// or cannot be decoded.
uint32_t* load_jpeg(const char* name, int32_t width, int32_t height, int32_t* actual_height = nullptr);

// The most rows a picture may have: every real picture fits, and a hostile
// archive cannot make each of its pictures cost tens of megabytes.
constexpr uint32_t jpeg_max_height = 4096;

// The size and colour components the decoder reads from the header of the
// JPEG bytes in data, without decoding the picture and without printing;
// false when the decoder refuses the header.
bool jpeg_header_size(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height, int* components);

// Called by load_jpeg: makes decompressor read from file in 4096-byte chunks,
// creating the source record and its buffer on first use.
void pak_jpeg_source(jpeg_decompress_struct* decompressor, FileHandle* file);

// The decompressor's fatal-error operation: lets the library print its
// message, keeps the text and jumps back into the decoder.
void jpeg_fatal_error(jpeg_common_struct* decompressor);
