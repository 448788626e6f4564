// fuzz_seeds DIR: writes the small generated seed inputs of the fuzz targets,
// DIR/archive/*.pak and DIR/jpeg/*.jpg. Each one exercises a different path:
// colour, greyscale, CMYK, progressive, restart markers, subsampling; archives
// that are empty, upper-case, with repeated names or zero-filled tails.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "pak_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

// How one seed picture is encoded.
struct SeedPicture {
    const char* name;     // file name in DIR/jpeg
    int width, height;    // pixels
    J_COLOR_SPACE space;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    bool progressive;     // progressive scans instead of baseline
    int restart_rows;     // restart marker every this many MCU rows (0: none)
    bool subsampled;      // 2x2 chroma subsampling instead of none
    bool arithmetic;      // arithmetic coding instead of Huffman
};

// A smooth diagonal gradient with a bright square, so every block holds detail.
uint8_t seed_sample(int x, int y, int component)
{
    const bool square = x >= 4 && x < 12 && y >= 4 && y < 12;
    return uint8_t(square ? 240 - 40 * component : (x * 7 + y * 3 + component * 60) & 0xFF);
}

Bytes seed_encode(const SeedPicture& picture)
{
    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* out = nullptr;
    unsigned long out_size = 0;
    jpeg_mem_dest(&encoder, &out, &out_size);
    const int components = picture.space == JCS_RGB ? 3 : picture.space == JCS_CMYK ? 4 : 1;
    encoder.image_width = JDIMENSION(picture.width);
    encoder.image_height = JDIMENSION(picture.height);
    encoder.input_components = components;
    encoder.in_color_space = picture.space;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 75, TRUE);
    if (!picture.subsampled)
        for (int c = 0; c < encoder.num_components; ++c)
            encoder.comp_info[c].h_samp_factor = encoder.comp_info[c].v_samp_factor = 1;
    if (picture.progressive)
        jpeg_simple_progression(&encoder);
    encoder.restart_in_rows = picture.restart_rows;
    encoder.arith_code = picture.arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&encoder, TRUE);
    std::vector<JSAMPLE> row(size_t(picture.width * components));
    while (encoder.next_scanline < encoder.image_height) {
        const int y = int(encoder.next_scanline);
        for (int x = 0; x < picture.width; ++x)
            for (int c = 0; c < components; ++c)
                row[size_t(x * components + c)] = seed_sample(x, y, c);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    Bytes bytes(out, out + out_size);
    std::free(out);
    return bytes;
}

void seed_write(const std::filesystem::path& path, const Bytes& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void seed_put32(Bytes& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
}

// An archive laid out by hand: one block of content, then a directory entry
// that may claim a larger content size (the reader zero-fills the rest).
Bytes seed_hand_archive(const std::string& content, uint32_t content_size, const char* signature)
{
    Bytes archive;
    seed_put32(archive, uint32_t(content.size()));
    archive.insert(archive.end(), content.begin(), content.end());
    const uint32_t stored = uint32_t(archive.size());
    char name[13] = "Tail.BIN";
    archive.insert(archive.end(), name, name + 13);
    seed_put32(archive, stored);
    seed_put32(archive, stored);
    seed_put32(archive, content_size);
    archive.push_back(1);
    archive.push_back(0);
    archive.insert(archive.end(), signature, signature + 6);
    return archive;
}

Bytes seed_archive(const std::vector<PakFile>& files)
{
    Bytes archive;
    std::string error;
    if (!pak_build(files, archive, error)) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", error.c_str());
        std::exit(1);
    }
    return archive;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "archive");
    std::filesystem::create_directories(root / "jpeg");

    const SeedPicture pictures[] = {
        {"colour.jpg", 16, 16, JCS_RGB, false, 0, false, false},
        {"grey.jpg", 24, 8, JCS_GRAYSCALE, false, 0, false, false},
        {"cmyk.jpg", 8, 8, JCS_CMYK, false, 0, false, false},
        {"progressive.jpg", 32, 16, JCS_RGB, true, 0, true, false},
        {"restart.jpg", 16, 32, JCS_RGB, false, 1, true, false},
        {"arithmetic.jpg", 16, 16, JCS_RGB, false, 0, false, true},
        {"wide.jpg", 320, 8, JCS_RGB, false, 0, true, false},
    };
    Bytes colour;
    for (const SeedPicture& picture : pictures) {
        const Bytes bytes = seed_encode(picture);
        seed_write(root / "jpeg" / picture.name, bytes);
        if (!colour.size())
            colour = bytes;
    }

    seed_write(root / "archive" / "empty.pak", seed_archive({}));
    seed_write(root / "archive" / "two.pak",
               seed_archive({{"intro.jpg", colour}, {"wuntje.s3m", Bytes{'S', 'C', 'R', 'M', 0, 1}}}));
    seed_write(root / "archive" / "repeated.pak",
               seed_archive({{"a.bin", Bytes{1, 2, 3}}, {"b.bin", Bytes{}}, {"c.bin", Bytes(300, 7)}}));
    seed_write(root / "archive" / "tail.pak", seed_hand_archive("QOMRAX", 40, "QOMRAX"));
    seed_write(root / "archive" / "exact.pak", seed_hand_archive("seeds", 5, "qomrax"));
    return 0;
}
