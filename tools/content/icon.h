// The Windows program icon, drawn from a picture of the content: a square
// from the middle of the picture, scaled to size x size by averaging, as an
// .ico file holding one 32-bit image.
#pragma once
#include <cstdint>
#include <vector>

std::vector<uint8_t> icon_encode(const std::vector<uint8_t>& rgb, int width, int height, int size);
