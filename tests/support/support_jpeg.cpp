#include "support/support_jpeg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

std::string support_jpeg(int width, int height, int components, int quality, const SupportPixel& pixel,
                         bool subsampled)
{
    // Gather every row first, so a wrong pixel function throws before the
    // library has allocated anything.
    std::vector<uint8_t> samples(size_t(width) * size_t(height) * size_t(components));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::vector<uint8_t> value = pixel(x, y);
            if (value.size() != size_t(components))
                throw std::logic_error("support_jpeg: pixel gave " + std::to_string(value.size()) +
                                       " components, expected " + std::to_string(components));
            std::copy(value.begin(), value.end(), samples.begin() + (size_t(y) * width + x) * components);
        }

    jpeg_compress_struct encoder{};
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* out = nullptr;
    unsigned long out_size = 0;
    jpeg_mem_dest(&encoder, &out, &out_size);
    encoder.image_width = JDIMENSION(width);
    encoder.image_height = JDIMENSION(height);
    encoder.input_components = components;
    encoder.in_color_space = components == 3 ? JCS_RGB : components == 1 ? JCS_GRAYSCALE : JCS_CMYK;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    if (!subsampled)
        for (int c = 0; c < encoder.num_components; ++c)
            encoder.comp_info[c].h_samp_factor = encoder.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW rows[1] = {samples.data() + size_t(encoder.next_scanline) * width * components};
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    jpeg_destroy_compress(&encoder);
    std::string bytes(reinterpret_cast<char*>(out), out_size);
    std::free(out);
    return bytes;
}
