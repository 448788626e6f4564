// Baseline JPEG encoding of generated pictures with libjpeg-turbo: three components,
// no chroma subsampling (sharp coloured edges, and black 8 x 8 blocks decode to
// exact zeros). Used by the content generator for every picture.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "paint.h"

// Encodes the canvas at the given quality (1..100). On failure returns an empty
// vector and sets error to the library's message.
std::vector<uint8_t> jpeg_encode(const Canvas& c, int quality, std::string& error);

// Decodes a JPEG from memory into 8-bit RGB triples (the generator's own checks and
// previews). Returns false with error set when the data is not a readable JPEG.
bool jpeg_decode_rgb(const std::vector<uint8_t>& jpeg, std::vector<uint8_t>& rgb, int& width,
                     int& height, std::string& error);
