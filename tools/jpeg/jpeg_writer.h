// JPEG files written into memory through the IJG interface, for the content
// generator, the fuzz seeds and the tests' pictures: one set-up of the
// encoder, with the choices those callers need.
#pragma once
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

struct JpegSettings {
    int width = 0, height = 0;  // pixels
    int components = 3;         // 1 greyscale, 3 RGB, 4 CMYK
    int quality = 75;           // 1..100
    bool subsampled = false;    // the library's 2x2 chroma subsampling instead of none
    bool progressive = false;   // progressive scans instead of baseline
    int restart_rows = 0;       // a restart marker every this many MCU rows (0: none)
    bool arithmetic = false;    // arithmetic coding instead of Huffman
};

// An error manager that returns to a setjmp point with the library's message
// instead of ending the process; the writer and the generator's decoder use it.
struct JpegJump {
    jpeg_error_mgr base;            // the library's record; must be first
    jmp_buf jump;                   // where error_exit returns to
    char message[JMSG_LENGTH_MAX];  // the library's text of the failure
};
// Installs jump as cinfo's error manager (its jump point still to be set).
void jpeg_jump_install(jpeg_common_struct* cinfo, JpegJump& jump);

// Encodes samples (components bytes a pixel, rows top first) with the exact
// integer transform, so the same picture gives the same bytes everywhere.
// On failure returns an empty vector with the library's message in error.
std::vector<uint8_t> jpeg_write(const JpegSettings& settings, const uint8_t* samples, std::string& error);
