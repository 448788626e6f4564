#include "runtime/media_files.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/files.h"

namespace {

void put_u16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void put_u32(uint8_t* p, uint32_t v)
{
    put_u16(p, v & 0xFFFF);
    put_u16(p + 2, v >> 16);
}

// The 44-byte header of a PCM WAV file holding data_bytes of samples.
void wav_header(uint8_t* h, uint32_t rate, uint16_t channels, uint32_t data_bytes)
{
    std::memcpy(h, "RIFF", 4);
    put_u32(h + 4, 36 + data_bytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put_u32(h + 16, 16);
    put_u16(h + 20, 1);  // PCM
    put_u16(h + 22, channels);
    put_u32(h + 24, rate);
    put_u32(h + 28, rate * channels * 2);
    put_u16(h + 32, channels * 2);
    put_u16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put_u32(h + 40, data_bytes);
}

}  // namespace

bool png_write_frame(const char* path, const uint32_t* pixels, int32_t width, int32_t height)
{
    FILE* file = files_fopen(path, "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    // Plain locals only between setjmp and the library calls.
    std::vector<png_byte> row(static_cast<size_t>(width) * 3);
    bool ok = false;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        // Fast, deterministic compression: frames are many and large.
        png_set_compression_level(png, 1);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_set_compression_strategy(png, Z_RLE);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int32_t y = 0; y < height; ++y) {
            const uint32_t* src = pixels + static_cast<size_t>(y) * width;
            for (int32_t x = 0; x < width; ++x) {
                row[x * 3 + 0] = png_byte(src[x] >> 16);
                row[x * 3 + 1] = png_byte(src[x] >> 8);
                row[x * 3 + 2] = png_byte(src[x]);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0)
        ok = false;
    return ok;
}

bool wav_open(WavFile& wav, const char* path, uint32_t rate, uint16_t channels)
{
    wav = WavFile{};
    wav.rate = rate;
    wav.channels = channels;
    wav.file = files_fopen(path, "wb");
    if (!wav.file)
        return false;
    uint8_t header[44];
    wav_header(header, rate, channels, 0);
    wav.failed = std::fwrite(header, 1, sizeof header, wav.file) != sizeof header;
    return !wav.failed;
}

bool wav_append(WavFile& wav, const int16_t* samples, uint64_t frame_count)
{
    if (!wav.file || wav.failed)
        return false;
    // Little-endian samples, as the format wants them, whatever the host.
    uint8_t buffer[4096];
    uint64_t total = frame_count * wav.channels;
    for (uint64_t done = 0; done < total;) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(total - done, sizeof buffer / 2));
        for (size_t i = 0; i < n; ++i)
            put_u16(buffer + 2 * i, static_cast<uint16_t>(samples[done + i]));
        if (std::fwrite(buffer, 2, n, wav.file) != n) {
            wav.failed = true;
            return false;
        }
        done += n;
    }
    wav.frames += frame_count;
    return true;
}

bool wav_close(WavFile& wav)
{
    if (!wav.file)
        return false;
    uint64_t data_bytes = wav.frames * wav.channels * 2;
    if (data_bytes > 0xFFFFFFFFull - 36)
        wav.failed = true;  // too long for the format's 32-bit sizes
    uint8_t header[44];
    wav_header(header, wav.rate, wav.channels, static_cast<uint32_t>(data_bytes));
    if (std::fseek(wav.file, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, wav.file) != sizeof header)
        wav.failed = true;
    if (std::fclose(wav.file) != 0)
        wav.failed = true;
    wav.file = nullptr;
    return !wav.failed;
}
