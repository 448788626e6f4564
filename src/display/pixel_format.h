// The codes of the presentation formats: the depth codes of the doubled
// modes and the 16-bit pixel layouts. The display keeps them in pixel_depth
// and pixel_layout; the --depth option names the doubled modes by them.
#pragma once
#include <cstdint>

// Depth codes of the doubled modes (pixel_depth, --depth); the others are bit counts.
enum PixelDepthCode : int32_t {
    PIXEL_DEPTH_DOUBLED_16 = 216,  // 16 bits in a mode of twice the size, each pixel 2 x 2
    PIXEL_DEPTH_DOUBLED_15 = 215,  // 15 bits in a mode of twice the size, each pixel 2 x 2
};
// The 16-bit pixel layouts of pixel_layout.
enum PixelLayout : int32_t {
    PIXEL_LAYOUT_UNKNOWN = 0,  // not one of the two below
    PIXEL_LAYOUT_555 = 1,      // 5-5-5: red 0x7C00, green 0x03E0, blue 0x001F
    PIXEL_LAYOUT_565 = 2,      // 5-6-5: red 0xF800, green 0x07E0, blue 0x001F
};
