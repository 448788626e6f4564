// JPEG files written into memory through the IJG interface, for the content
// generator, the fuzz seeds and the tests' pictures: one set-up of the
// encoder, with the choices those callers need.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct JpegSettings {
    int width = 0, height = 0;  // pixels
    int components = 3;         // 1 greyscale, 3 RGB, 4 CMYK
    int quality = 75;           // 1..100
    bool subsampled = false;    // the library's 2x2 chroma subsampling instead of none
    bool progressive = false;   // progressive scans instead of baseline
    int restart_rows = 0;       // a restart marker every this many MCU rows (0: none)
    bool arithmetic = false;    // arithmetic coding instead of Huffman
};

// Encodes samples (components bytes a pixel, rows top first) with the exact
// integer transform, so the same picture gives the same bytes everywhere.
// On failure returns an empty vector with the library's message in error.
std::vector<uint8_t> jpeg_write(const JpegSettings& settings, const uint8_t* samples, std::string& error);
