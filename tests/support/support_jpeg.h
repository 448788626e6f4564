// JPEG pictures encoded in memory for the tests that need picture files: the
// picture loader's tests, the scenes' content checks and the inspector's fixtures.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The components of the pixel at (x, y): red, green, blue; one grey value; or C, M, Y, K.
using SupportPixel = std::function<std::vector<uint8_t>(int x, int y)>;

// Encodes a baseline picture of components 1 (greyscale), 3 (colour) or 4
// (CMYK) at quality 1..100 and returns its bytes. Colour is encoded without
// chroma subsampling unless subsampled asks for the library's 2x2 default.
// Throws std::logic_error when pixel gives a different number of components.
std::string support_jpeg(int width, int height, int components, int quality, const SupportPixel& pixel,
                         bool subsampled = false);
