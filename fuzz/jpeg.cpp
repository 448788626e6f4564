// Fuzzes load_jpeg: the input is a loose picture file, decoded through the
// file layer and the archive data source. The expected size is taken from the
// picture's own frame header when it is at most 1024 pixels each way, so that
// most inputs reach the scanline decoding rather than the size check.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "resources/jpeg.h"

namespace {

constexpr uint32_t fuzz_max_side = 1024;  // larger pictures are asked for at a width they do not have

// Width and height from the first start-of-frame marker, or 0 x 0.
void fuzz_frame_size(const uint8_t* data, size_t size, uint32_t& width, uint32_t& height)
{
    width = height = 0;
    for (size_t i = 0; i + 9 <= size; ++i) {
        const uint8_t marker = data[i + 1];
        if (data[i] == 0xFF && marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 &&
            marker != 0xC8 && marker != 0xCC) {
            height = uint32_t(data[i + 5]) << 8 | data[i + 6];
            width = uint32_t(data[i + 7]) << 8 | data[i + 8];
            return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz_setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz_write_file("picture.jpg", data, size);
    uint32_t width = 0;
    uint32_t height = 0;
    fuzz_frame_size(data, size, width, height);
    if (width == 0 || height == 0 || width > fuzz_max_side || height > fuzz_max_side) {
        // Asked for with another width, so it stops at the size check: a
        // picture the production would accept at this size (320 x 65535
        // passes as "taller") is simply slow to decode, not a fault.
        width = fuzz_max_side + 1;
        height = 200;
    }
    fuzz_run([&] {
        int32_t found = 0;
        uint32_t* pixels = load_jpeg(path.c_str(), int32_t(width), int32_t(height), &found);
        if (found < int32_t(height))
            std::abort();  // a picture shorter than asked for came back
        std::free(pixels);
    });
    return 0;
}
