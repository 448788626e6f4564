#include "runtime/screenshot.h"

#include <cstdio>

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

void write_tga(const char* name, const uint32_t* pixels, int32_t width, int32_t height)
{
    FILE* file = std::fopen(name, "wb");
    if (!file)
        return;
    const unsigned char header[18] = {
        0, 0, 2,        // no identification field, no colour map, uncompressed true colour
        0, 0, 0, 0, 0,  // colour map: first entry, length, entry size (none)
        0, 0, 0, 0,     // x and y origin
        static_cast<unsigned char>(width), static_cast<unsigned char>(width >> 8),
        static_cast<unsigned char>(height), static_cast<unsigned char>(height >> 8),
        24,             // bits per pixel
        0,              // no alpha bits, origin at the lower left
    };
    std::fwrite(header, 1, sizeof header, file);
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t p = row[x];
            std::putc(static_cast<int>(p & 0xFF), file);
            std::putc(static_cast<int>((p >> 8) & 0xFF), file);
            std::putc(static_cast<int>((p >> 16) & 0xFF), file);
        }
    }
    std::fclose(file);
}
