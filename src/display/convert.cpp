#include "display/convert.h"

#include <bit>
#include <cstring>

#include "display/display.h"

static_assert(std::endian::native == std::endian::little, "the converters assemble little-endian words");

namespace {

inline uint32_t pixel_555(uint32_t p)
{
    return ((p >> 3) & 0x1F) | (((p >> 11) & 0x1F) << 5) | (((p >> 19) & 0x1F) << 10);
}

inline uint32_t pixel_565(uint32_t p)
{
    return ((p >> 3) & 0x1F) | (((p >> 10) & 0x3F) << 5) | (((p >> 19) & 0x1F) << 11);
}

}  // namespace

void convert_rows_32(uint8_t* destination, int32_t pitch, const uint32_t* source, int32_t width, int32_t height)
{
    const size_t row_bytes = static_cast<size_t>(width) * 4;
    if (static_cast<size_t>(pitch) == row_bytes) {
        std::memcpy(destination, source, row_bytes * height);
        return;
    }
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(destination + static_cast<size_t>(y) * pitch, source + static_cast<size_t>(y) * width, row_bytes);
}

void convert_row_24(uint8_t* __restrict destination, const uint32_t* __restrict source, int32_t byte_count)
{
    int32_t count = byte_count / 4;
    int32_t groups = count / 8;
    for (int32_t g = 0; g < groups; ++g) {
        // Eight pixels of 4 bytes packed into three 8-byte words of 3-byte
        // pixels, each stored on its own (one wide store of words built on
        // the stack would wait for them).
        const uint32_t* p = source + 8 * g;
        uint64_t w0 = (p[0] & 0xFFFFFFull) | (p[1] & 0xFFFFFFull) << 24 | (p[2] & 0xFFFFull) << 48;
        uint64_t w1 = (p[2] >> 16 & 0xFFull) | (p[3] & 0xFFFFFFull) << 8 | (p[4] & 0xFFFFFFull) << 32 |
                      (p[5] & 0xFFull) << 56;
        uint64_t w2 = (p[5] >> 8 & 0xFFFFull) | (p[6] & 0xFFFFFFull) << 16 | (p[7] & 0xFFFFFFull) << 40;
        uint8_t* out = destination + 24 * g;
        std::memcpy(out, &w0, 8);
        std::memcpy(out + 8, &w1, 8);
        std::memcpy(out + 16, &w2, 8);
    }
    // A row whose width is no multiple of 8 ends pixel by pixel.
    for (int32_t i = groups * 8; i < count; ++i) {
        uint32_t p = source[i];
        destination[3 * i] = static_cast<uint8_t>(p);
        destination[3 * i + 1] = static_cast<uint8_t>(p >> 8);
        destination[3 * i + 2] = static_cast<uint8_t>(p >> 16);
    }
}

void convert_row_555(uint8_t* __restrict destination, const uint32_t* __restrict source, int32_t byte_count)
{
    auto* out = reinterpret_cast<uint16_t*>(destination);
    for (int32_t i = 0; i < byte_count / 4; ++i)
        out[i] = static_cast<uint16_t>(pixel_555(source[i]));
}

void convert_row_565(uint8_t* __restrict destination, const uint32_t* __restrict source, int32_t byte_count)
{
    auto* out = reinterpret_cast<uint16_t*>(destination);
    for (int32_t i = 0; i < byte_count / 4; ++i)
        out[i] = static_cast<uint16_t>(pixel_565(source[i]));
}

void convert_row_555_double(uint8_t* __restrict destination, const uint32_t* __restrict source,
                            int32_t byte_count)
{
    auto* upper = reinterpret_cast<uint32_t*>(destination);
    auto* lower = reinterpret_cast<uint32_t*>(destination + surface_pitch);
    for (int32_t i = 0; i < byte_count / 4; ++i) {
        uint32_t v = pixel_555(source[i]);
        upper[i] = lower[i] = (v << 16) | v;
    }
}

void convert_row_565_double(uint8_t* __restrict destination, const uint32_t* __restrict source,
                            int32_t byte_count)
{
    auto* upper = reinterpret_cast<uint32_t*>(destination);
    auto* lower = reinterpret_cast<uint32_t*>(destination + surface_pitch);
    for (int32_t i = 0; i < byte_count / 4; ++i) {
        uint32_t v = pixel_565(source[i]);
        upper[i] = lower[i] = (v << 16) | v;
    }
}
