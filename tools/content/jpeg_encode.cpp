// JPEG encoding of canvases into memory, and decoding for the generator's checks.
#include "jpeg_encode.h"

#include <cstdlib>

#include "jpeg_writer.h"

std::vector<uint8_t> jpeg_encode(const Canvas& c, int quality, std::string& error)
{
    std::vector<uint8_t> rgb = canvas_to_rgb(c);
    JpegSettings settings;
    settings.width = c.width;
    settings.height = c.height;
    settings.quality = quality;
    return jpeg_write(settings, rgb.data(), error);
}

bool jpeg_decode_rgb(const std::vector<uint8_t>& jpeg, std::vector<uint8_t>& rgb, int& width,
                     int& height, std::string& error)
{
    jpeg_decompress_struct cinfo;
    JpegJump err;
    jpeg_jump_install(reinterpret_cast<jpeg_common_struct*>(&cinfo), err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        error = err.message;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), (unsigned long)jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    width = (int)cinfo.output_width;
    height = (int)cinfo.output_height;
    rgb.assign((size_t)width * height * 3, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rgb.data() + (size_t)cinfo.output_scanline * width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}
