#include "resources/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "core/fatal.h"

namespace {

constexpr uint32_t pak_source_chunk = 4096;  // bytes pulled from the file per refill

// The archive data source: the library's source record, then ours.
struct PakSource {
    jpeg_source_mgr manager;  // next input byte, bytes in buffer and the five operations
    FileHandle* file;         // the open file being decoded
    JOCTET* buffer;           // pak_source_chunk bytes of input
    boolean start_of_file;    // true until the first successful fill
};

// The error record: the library's manager, then where jpeg_fatal_error returns to.
struct JpegError {
    jpeg_error_mgr manager;          // the library's standard error manager
    jmp_buf jump;                    // set in load_jpeg
    char message[JMSG_LENGTH_MAX];   // text of the fatal error, for report_error
};

void source_init(j_decompress_ptr decompressor)
{
    reinterpret_cast<PakSource*>(decompressor->src)->start_of_file = TRUE;
}

boolean source_fill(j_decompress_ptr decompressor)
{
    PakSource* source = reinterpret_cast<PakSource*>(decompressor->src);
    uint32_t count = file_read(*source->file, source->buffer, pak_source_chunk);
    if (count == 0) {
        if (source->start_of_file)
            ERREXIT(decompressor, JERR_INPUT_EMPTY);
        // A truncated file: warn and end it with a fake end-of-image marker.
        WARNMS(decompressor, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->manager.next_input_byte = source->buffer;
    source->manager.bytes_in_buffer = count;
    source->start_of_file = FALSE;
    return TRUE;
}

void source_skip(j_decompress_ptr decompressor, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* source = decompressor->src;
    while (count > long(source->bytes_in_buffer)) {
        count -= long(source->bytes_in_buffer);
        source_fill(decompressor);  // never suspends
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= size_t(count);
}

void source_term(j_decompress_ptr) {}

// Releases what jpeg_decode holds when it gives up.
void jpeg_release(jpeg_decompress_struct* decompressor, uint8_t* image)
{
    jpeg_destroy_decompress(decompressor);
    std::free(image);
}

}  // namespace

void pak_jpeg_source(jpeg_decompress_struct* decompressor, FileHandle* file)
{
    if (!decompressor->src) {
        auto* common = reinterpret_cast<j_common_ptr>(decompressor);
        auto* source = static_cast<PakSource*>(
            (*decompressor->mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(PakSource)));
        source->buffer = static_cast<JOCTET*>(
            (*decompressor->mem->alloc_small)(common, JPOOL_PERMANENT, pak_source_chunk));
        decompressor->src = &source->manager;
    }
    PakSource* source = reinterpret_cast<PakSource*>(decompressor->src);
    source->manager.init_source = source_init;
    source->manager.fill_input_buffer = source_fill;
    source->manager.skip_input_data = source_skip;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = source_term;
    source->manager.next_input_byte = nullptr;
    source->manager.bytes_in_buffer = 0;
    source->file = file;
}

void jpeg_fatal_error(jpeg_common_struct* decompressor)
{
    JpegError* error = reinterpret_cast<JpegError*>(decompressor->err);
    (*error->manager.output_message)(decompressor);
    (*error->manager.format_message)(decompressor, error->message);
    longjmp(error->jump, 1);
}

namespace {

// Decodes the open file into 32-bit pixels; on failure returns nullptr with
// the reason in problem. The fatal report is left to the caller: stopping the
// program may wait (the music fades out first), which must not happen inside
// a function that holds a setjmp point.
uint32_t* jpeg_decode(const char* name, FileHandle* file, int32_t width, int32_t height,
                      int32_t* actual_height, char* problem, size_t problem_size)
{
    // Only plain locals live across setjmp; longjmp skips destructors.
    jpeg_decompress_struct decompressor{};
    JpegError error{};
    decompressor.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpeg_fatal_error;
    uint8_t* volatile image = nullptr;
    if (setjmp(error.jump)) {
        jpeg_release(&decompressor, image);
        std::snprintf(problem, problem_size, "picture %s cannot be decoded: %s", name, error.message);
        return nullptr;
    }
    jpeg_create_decompress(&decompressor);
    pak_jpeg_source(&decompressor, file);
    jpeg_read_header(&decompressor, TRUE);
    // The size is checked before jpeg_start_decompress, which allocates for the
    // whole picture (a progressive one keeps every coefficient): a header that
    // claims 60000 x 60000 pixels must not cost gigabytes before it is refused.
    jpeg_calc_output_dimensions(&decompressor);

    const uint32_t columns = decompressor.output_width;
    const uint32_t rows = decompressor.output_height;
    const int components = decompressor.output_components;
    if (components != 3 && components != 1) {
        std::snprintf(problem, problem_size,
                      "picture %s has %d colour components; only colour and greyscale pictures load",
                      name, components);
        jpeg_release(&decompressor, nullptr);
        return nullptr;
    }
    if (int64_t(columns) != width || int64_t(rows) < height) {
        std::snprintf(problem, problem_size, "picture %s is %ux%u pixels, expected %dx%d (or taller)",
                      name, columns, rows, width, height);
        jpeg_release(&decompressor, nullptr);
        return nullptr;
    }
    if (rows > jpeg_max_height) {
        std::snprintf(problem, problem_size, "picture %s is %ux%u pixels, taller than the %u rows a picture may have",
                      name, columns, rows, jpeg_max_height);
        jpeg_release(&decompressor, nullptr);
        return nullptr;
    }
    jpeg_start_decompress(&decompressor);

    JSAMPARRAY sample_row = (*decompressor.mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(&decompressor), JPOOL_IMAGE, columns * uint32_t(components), 1);
    image = static_cast<uint8_t*>(std::calloc(size_t(columns) * rows * 4, 1));
    if (!image) {
        std::snprintf(problem, problem_size, "out of memory decoding picture %s (%ux%u pixels)", name, columns,
                      rows);
        jpeg_release(&decompressor, nullptr);
        return nullptr;
    }
    uint8_t* const pixels = image;
    while (decompressor.output_scanline < rows) {
        uint8_t* out = pixels + size_t(decompressor.output_scanline) * columns * 4;
        if (jpeg_read_scanlines(&decompressor, sample_row, 1) != 1)
            break;  // cannot happen with a source that never suspends; rows stay black
        const JSAMPLE* in = sample_row[0];
        if (components == 3) {
            for (uint32_t i = 0; i < columns; ++i) {
                out[4 * i + 0] = in[3 * i + 2];  // blue
                out[4 * i + 1] = in[3 * i + 1];  // green
                out[4 * i + 2] = in[3 * i + 0];  // red
                out[4 * i + 3] = 0;
            }
        } else {
            for (uint32_t i = 0; i < columns; ++i) {  // greyscale: the same value in each channel
                out[4 * i + 0] = in[i];
                out[4 * i + 1] = in[i];
                out[4 * i + 2] = in[i];
                out[4 * i + 3] = 0;
            }
        }
    }
    jpeg_finish_decompress(&decompressor);
    jpeg_destroy_decompress(&decompressor);
    if (actual_height)
        *actual_height = int32_t(rows);
    return reinterpret_cast<uint32_t*>(pixels);
}

}  // namespace

uint32_t* load_jpeg(const char* name, int32_t width, int32_t height, int32_t* actual_height)
{
    FileHandle file = file_open(name);
    if (!file.is_open)
        report_error(" file %s not found", name);
    char problem[JMSG_LENGTH_MAX + 160];
    uint32_t* pixels = jpeg_decode(name, &file, width, height, actual_height, problem, sizeof problem);
    file_close(file);
    if (!pixels)
        report_error("%s", problem);
    return pixels;
}

namespace {

// The header reader's error record: quiet, and back to jpeg_header_size.
struct HeaderError {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void header_error_exit(j_common_ptr decompressor)
{
    longjmp(reinterpret_cast<HeaderError*>(decompressor->err)->jump, 1);
}

void header_message(j_common_ptr) {}

}  // namespace

bool jpeg_header_size(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height, int* components)
{
    if (size == 0)
        return false;  // the memory source refuses empty input with a fatal error of its own
    jpeg_decompress_struct decompressor{};
    HeaderError error{};
    decompressor.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = header_error_exit;
    error.manager.output_message = header_message;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&decompressor);
        return false;
    }
    jpeg_create_decompress(&decompressor);
    jpeg_mem_src(&decompressor, data, static_cast<unsigned long>(size));
    jpeg_read_header(&decompressor, TRUE);
    jpeg_calc_output_dimensions(&decompressor);
    *width = decompressor.output_width;
    *height = decompressor.output_height;
    *components = decompressor.output_components;
    jpeg_destroy_decompress(&decompressor);
    return true;
}
