// The program icon, drawn from a picture of the content: a square from the
// middle of the picture, scaled to size x size by averaging. The Windows
// build takes it as an .ico file holding one 32-bit image, the Linux
// installation as PNGs of the usual sizes.
#pragma once
#include <cstdint>
#include <vector>

// The sizes of the PNG icons an installation carries (hicolor theme folders).
constexpr int icon_png_sizes[] = {16, 24, 32, 48, 64, 128, 256};

// The middle square of an RGB picture, scaled to size x size, as RGB rows from the top.
std::vector<uint8_t> icon_square(const std::vector<uint8_t>& rgb, int width, int height, int size);

std::vector<uint8_t> icon_encode(const std::vector<uint8_t>& rgb, int width, int height, int size);
