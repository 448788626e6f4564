// Fuzzes load_jpeg: the input is a loose picture file, decoded through the
// file layer and the archive data source. The expected size is the one the
// decoder itself reads from the header when it is at most 1024 pixels each
// way, so that most inputs reach the scanline decoding rather than the size
// check.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "resources/jpeg.h"

namespace {

constexpr uint32_t fuzz_max_side = 1024;  // larger pictures are asked for at a width they do not have

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
    int components = 0;
    if (!jpeg_header_size(data, size, &width, &height, &components))
        width = height = 0;
    if (width == 0 || height == 0 || width > fuzz_max_side || height > fuzz_max_side) {
        // Asked for with another width, so it stops at the size check: a
        // large picture the production would accept (320 x 4096 passes as
        // "taller") is simply slow to decode, not a fault.
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
