#include "effects/blend.h"

#include <algorithm>

#include "core/frame.h"

uint8_t SaturateTable[1024];
uint8_t ShadeTable[256 * 256];

namespace {
// Zoom coordinate tables, 24.8 fixed point, rewritten by every zoom_image.
int32_t zoom_rows[200];
int32_t zoom_columns[320];
}

void init_blend_tables()
{
    // Rows 0..127 scale: entry c = (row * c) / 127, built as a running sum.
    for (uint32_t row = 0; row < 128; ++row) {
        uint32_t sum = 0;
        for (uint32_t c = 0; c < 256; ++c, sum += row)
            ShadeTable[row * 256 + c] = static_cast<uint8_t>(sum / 127);
    }
    // Rows 128..255 move toward white, evaluated in double precision.
    const double d = 1.0 / 127.0;
    for (int row = 128; row < 256; ++row) {
        int k = row - 128;
        for (int c = 0; c < 256; ++c)
            ShadeTable[row * 256 + c] = static_cast<uint8_t>(255.0 - (1.0 - k * d) * (255 - c));
    }
    for (int i = 0; i < 1024; ++i)
        SaturateTable[i] = static_cast<uint8_t>(std::min(i, 255));
}

void fill_buffer(uint32_t* frame, uint32_t value) { std::fill(frame, frame + frame_pixel_count, value); }

void shade_buffer(uint32_t* frame, int32_t row)
{
    const uint8_t* shade = ShadeTable + (static_cast<uint32_t>(row) & 255) * 256;
    for (int32_t i = 0; i < frame_pixel_count; ++i) {
        uint32_t p = frame[i];
        frame[i] = (p & 0xFF000000u) | uint32_t(shade[(p >> 16) & 0xFF]) << 16 |
                   uint32_t(shade[(p >> 8) & 0xFF]) << 8 | shade[p & 0xFF];
    }
}

void blit_add_scaled(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sw, int32_t sh,
                     const uint32_t* source, uint32_t* frame)
{
    if (w == 0 || h == 0 || x > frame_width || x + w < 0 || y > frame_height || y + h < 0)
        return;
    if (w < 0 || h < 0 || sw <= 0 || sh <= 0 || int64_t(sw) * sh > 65536)
        return;  // nothing sensible to draw; the 16.16 index holds at most 65536 source pixels
    const int32_t xstep = static_cast<int32_t>((int64_t(sw) * 65536) / w);
    const float ystep = static_cast<float>(sh) / static_cast<float>(h);
    for (int32_t r = 0; r < h; ++r) {
        const int64_t d = int64_t(y + r) * frame_width;
        if (d >= frame_pixel_count)
            return;
        if (d < 0)
            continue;
        // Rounding of r * ystep can never pick a row past the source's last.
        int32_t sy = std::min(static_cast<int32_t>(static_cast<float>(r) * ystep), sh - 1);
        uint32_t pos = static_cast<uint32_t>(sy * sw) << 16;
        uint32_t* line = frame + d;
        for (int32_t i = x; i < x + w; ++i, pos += static_cast<uint32_t>(xstep)) {
            if (i >= frame_width)
                break;
            if (i < 0)
                continue;
            line[i] = blend_add_pixel(line[i], source[(pos >> 16) & 0xFFFF]);
        }
    }
}

void init_zoom()
{
    std::fill(zoom_rows, zoom_rows + 200, 0);
    std::fill(zoom_columns, zoom_columns + 320, 0);
}

void zoom_image(uint32_t* frame, const uint32_t* image, float a)
{
    // Red is masked to its byte, so the result's fourth byte is always 0.
    // Single-precision coordinates, truncated to 24.8; clamped so that a
    // factor outside [0, 1) can never sample outside the picture.
    for (int i = 0; i < 200; ++i) {
        int32_t v = static_cast<int32_t>(((100.0f - 100.0f * a) + static_cast<float>(i) * a) * 256.0f);
        zoom_rows[i] = std::clamp(v, 0, 199 * 256);
    }
    for (int j = 0; j < 320; ++j) {
        int32_t v = static_cast<int32_t>(((160.0f - 160.0f * a) + static_cast<float>(j) * a) * 256.0f);
        zoom_columns[j] = std::clamp(v, 0, 319 * 256);
    }
    uint32_t* out = frame;
    for (int i = 0; i < 200; ++i) {
        const uint32_t b = static_cast<uint32_t>(zoom_rows[i]);
        const uint32_t fy = b & 255;
        const uint32_t down = fy ? 320 : 0;  // a neighbour of weight 0 is never read
        const uint32_t* src_row = image + (b >> 8) * 320;
        for (int j = 0; j < 320; ++j) {
            const uint32_t c = static_cast<uint32_t>(zoom_columns[j]);
            const uint32_t fx = c & 255;
            const uint32_t right = fx ? 1 : 0;
            const uint32_t* p = src_row + (c >> 8);
            const uint32_t tl = p[0], tr = p[right], bl = p[down], br = p[down + right];
            const uint32_t wtl = (256 - fx) * (256 - fy), wtr = fx * (256 - fy);
            const uint32_t wbl = (256 - fx) * fy, wbr = fx * fy;
            const uint32_t blue = (wtl * (tl & 255) + wtr * (tr & 255) + wbl * (bl & 255) + wbr * (br & 255)) >> 16;
            const uint32_t green = (wtl * ((tl >> 8) & 255) + wtr * ((tr >> 8) & 255) + wbl * ((bl >> 8) & 255) +
                                    wbr * ((br >> 8) & 255)) >> 16;
            const uint32_t red = (wtl * ((tl >> 16) & 255) + wtr * ((tr >> 16) & 255) + wbl * ((bl >> 16) & 255) +
                                  wbr * ((br >> 16) & 255)) >> 16;
            *out++ = blue | green << 8 | red << 16;
        }
    }
}
