#include "runtime/screenshot.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/frame.h"
#include "display/display.h"
#include "platform/files.h"

int32_t shot_counter = 0;

void save_screenshot()
{
    // Room for "shot", any 32-bit number and ".tga", so a name is never cut.
    char name[32];
    std::snprintf(name, sizeof name, "shot%4i.tga", static_cast<int>(shot_counter));
    if (shown_frame) {
        write_tga(name, shown_frame, frame_width, frame_height);
        files_offer(name);
    }
    ++shot_counter;
}

void tga_encode(const uint32_t* pixels, int32_t width, int32_t height, int32_t pitch, uint8_t* out)
{
    const uint8_t header[18] = {
        0, 0, 2,        // no identification field, no colour map, uncompressed true colour
        0, 0, 0, 0, 0,  // colour map: first entry, length, entry size (none)
        0, 0, 0, 0,     // x and y origin
        static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
        static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8),
        24,             // bits per pixel
        0,              // no alpha bits, origin at the lower left
    };
    std::memcpy(out, header, sizeof header);
    out += sizeof header;
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
        for (int32_t x = 0; x < width; ++x, out += 3) {
            uint32_t p = row[x];
            out[0] = static_cast<uint8_t>(p);
            out[1] = static_cast<uint8_t>(p >> 8);
            out[2] = static_cast<uint8_t>(p >> 16);
        }
    }
}

void write_tga(const char* name, const uint32_t* pixels, int32_t width, int32_t height)
{
    FILE* file = files_fopen(name, "wb");
    if (!file)
        return;
    std::vector<uint8_t> bytes(tga_size(width, height));
    tga_encode(pixels, width, height, width, bytes.data());
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}
