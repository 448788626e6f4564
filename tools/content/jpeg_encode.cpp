// JPEG encoding into memory through the IJG interface.
#include "jpeg_encode.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// Error manager that returns control to the encoder instead of ending the process.
struct EncodeError {
    jpeg_error_mgr base;  // the library's record; must be first
    jmp_buf jump;         // where error_exit returns to
    char message[JMSG_LENGTH_MAX];  // the library's text of the failure
};

void encode_error_exit(j_common_ptr cinfo)
{
    EncodeError* e = reinterpret_cast<EncodeError*>(cinfo->err);
    e->base.format_message(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

}  // namespace

std::vector<uint8_t> jpeg_encode(const Canvas& c, int quality, std::string& error)
{
    std::vector<uint8_t> rgb = canvas_to_rgb(c);
    std::vector<uint8_t> out;
    jpeg_compress_struct cinfo;
    EncodeError err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = encode_error_exit;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        error = err.message;
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = (JDIMENSION)c.width;
    cinfo.image_height = (JDIMENSION)c.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;  // the exact integer transform: same bytes everywhere
    for (int i = 0; i < 3; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = rgb.data() + (size_t)cinfo.next_scanline * c.width * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    out.assign(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

bool jpeg_decode_rgb(const std::vector<uint8_t>& jpeg, std::vector<uint8_t>& rgb, int& width,
                     int& height, std::string& error)
{
    jpeg_decompress_struct cinfo;
    EncodeError err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = encode_error_exit;
    err.message[0] = 0;
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
