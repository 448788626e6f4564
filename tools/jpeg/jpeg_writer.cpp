#include "jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// Error manager that returns control to the writer instead of ending the process.
struct WriteError {
    jpeg_error_mgr base;            // the library's record; must be first
    jmp_buf jump;                   // where error_exit returns to
    char message[JMSG_LENGTH_MAX];  // the library's text of the failure
};

void write_error_exit(j_common_ptr cinfo)
{
    WriteError* e = reinterpret_cast<WriteError*>(cinfo->err);
    e->base.format_message(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

}  // namespace

std::vector<uint8_t> jpeg_write(const JpegSettings& settings, const uint8_t* samples, std::string& error)
{
    // Only plain locals between setjmp and the library calls: longjmp skips destructors.
    jpeg_compress_struct cinfo;
    WriteError err;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = write_error_exit;
    err.message[0] = 0;
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
