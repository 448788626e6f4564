#include "jpeg_writer.h"

#include <cstdlib>

namespace {

void jump_exit(j_common_ptr cinfo)
{
    JpegJump* e = reinterpret_cast<JpegJump*>(cinfo->err);
    e->base.format_message(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

}  // namespace

void jpeg_jump_install(jpeg_common_struct* cinfo, JpegJump& jump)
{
    cinfo->err = jpeg_std_error(&jump.base);
    jump.base.error_exit = jump_exit;
    jump.message[0] = 0;
}

std::vector<uint8_t> jpeg_write(const JpegSettings& settings, const uint8_t* samples, std::string& error)
{
    // Only plain locals between setjmp and the library calls: longjmp skips destructors.
    jpeg_compress_struct cinfo;
    JpegJump err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_jump_install(reinterpret_cast<jpeg_common_struct*>(&cinfo), err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        error = err.message;
        return {};
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    const int components = settings.components;
    cinfo.image_width = JDIMENSION(settings.width);
    cinfo.image_height = JDIMENSION(settings.height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 3 ? JCS_RGB : components == 4 ? JCS_CMYK : JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, settings.quality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    if (!settings.subsampled)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (settings.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = settings.restart_rows;
    cinfo.arith_code = settings.arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    const size_t row_bytes = size_t(settings.width) * size_t(components);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples + size_t(cinfo.next_scanline) * row_bytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}
