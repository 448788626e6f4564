// Writers for the capture files: frames as PNG pictures and sound as a WAV
// file of 16-bit stereo samples. Used by the capture sinks.
#pragma once
#include <cstdint>
#include <cstdio>

// Writes a width x height frame (pixels in frame layout: blue, green, red,
// unused byte) as an 8-bit RGB PNG. Returns false when the file cannot be written.
bool png_write_frame(const char* path, const uint32_t* pixels, int32_t width, int32_t height);

// An open WAV file being appended to; the header's sizes are fixed on close.
struct WavFile {
    FILE* file = nullptr;
    uint64_t frames = 0;    // sample frames written so far (one frame = all channels)
    uint32_t rate = 44100;
    uint16_t channels = 2;
    bool failed = false;    // a write went wrong (disk full, closed stream)
};

// Creates path and writes a 16-bit PCM header. Returns false when it cannot be created.
bool wav_open(WavFile& wav, const char* path, uint32_t rate, uint16_t channels);
// Appends frame_count interleaved sample frames. Returns false once a write failed.
bool wav_append(WavFile& wav, const int16_t* samples, uint64_t frame_count);
// Fixes the header's sizes and closes the file. Returns false if anything failed.
bool wav_close(WavFile& wav);
