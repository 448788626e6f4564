#include "icon.h"

#include <algorithm>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> icon_square(const std::vector<uint8_t>& rgb, int width, int height, int size)
{
    const int side = std::min(width, height);
    const int left = (width - side) / 2, top = (height - side) / 2;
    std::vector<uint8_t> square;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Averages the source pixels under this one (one pixel when enlarging).
            const int x0 = left + x * side / size, x1 = left + (x + 1) * side / size;
            const int y0 = top + y * side / size, y1 = top + (y + 1) * side / size;
            uint32_t sum[3] = {0, 0, 0}, count = 0;
            for (int sy = y0; sy < std::max(y1, y0 + 1); ++sy)
                for (int sx = x0; sx < std::max(x1, x0 + 1); ++sx) {
                    const uint8_t* p = &rgb[(size_t(sy) * size_t(width) + size_t(sx)) * 3];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c];
                    ++count;
                }
            for (int c = 0; c < 3; ++c)
                square.push_back(uint8_t(sum[c] / count));
        }
    }
    return square;
}

std::vector<uint8_t> icon_encode(const std::vector<uint8_t>& rgb, int width, int height, int size)
{
    const std::vector<uint8_t> square = icon_square(rgb, width, height, size);
    // Bottom-up rows of blue, green, red, alpha, then the (unused) AND mask.
    std::vector<uint8_t> pixels;
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t* p = &square[(size_t(y) * size_t(size) + size_t(x)) * 3];
            pixels.push_back(p[2]);
            pixels.push_back(p[1]);
            pixels.push_back(p[0]);
            pixels.push_back(255);
        }
    }
    const size_t mask_row = size_t((size + 31) / 32) * 4;
    pixels.resize(pixels.size() + mask_row * size_t(size), 0);

    std::vector<uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // an icon
    put16(out, 1);  // one image
    out.push_back(uint8_t(size));
    out.push_back(uint8_t(size));
    out.push_back(0);  // no palette
    out.push_back(0);
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, uint32_t(40 + pixels.size()));
    put32(out, 6 + 16);  // where the image starts
    // The image's bitmap header: its height counts the picture and the mask.
    put32(out, 40);
    put32(out, uint32_t(size));
    put32(out, uint32_t(size * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // no compression
    put32(out, uint32_t(pixels.size()));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}
