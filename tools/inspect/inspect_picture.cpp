// Pictures: size and components from the JPEG header, then a decode by the
// production's own load_jpeg, whose warnings and size checks are reported.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

#include "inspect.h"
#include "resources/file.h"
#include "resources/jpeg.h"

namespace {

struct HeaderError {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void header_error_exit(j_common_ptr info)
{
    longjmp(reinterpret_cast<HeaderError*>(info->err)->jump, 1);
}

// Width, height and components from the header of the bytes; false when the
// library refuses the header.
bool read_header(const FileHandle& file, int& width, int& height, int& components)
{
    jpeg_decompress_struct info{};
    HeaderError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = header_error_exit;
    error.manager.output_message = [](j_common_ptr) {};
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data, file.size);
    jpeg_read_header(&info, TRUE);
    width = static_cast<int>(info.image_width);
    height = static_cast<int>(info.image_height);
    components = info.num_components;
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

void inspect_picture(const std::string& path, const AssetRule* rule)
{
    FileHandle file{};
    std::string out, message;
    if (!inspect_guard([&] { file = file_open(path.c_str()); }, out, message)) {
        inspect_problem(path, message);
        return;
    }
    int width = 0, height = 0, components = 0;
    bool readable = file.size > 0 && read_header(file, width, height, components);
    file_close(file);
    if (!readable) {
        inspect_problem(path, "not a JPEG picture");
        return;
    }
    // The production's decode, with its own size check where the file is an asset.
    int want_width = rule ? rule->width : width;
    int want_height = rule ? rule->height : height;
    std::string warnings;
    bool decoded = inspect_guard(
        [&] { std::free(load_jpeg(path.c_str(), want_width, want_height)); }, out, warnings);
    std::printf("%s: %dx%d, %d components%s%s\n", path.c_str(), width, height, components,
                decoded && !warnings.empty() ? ", decoder warned: " : "", decoded ? warnings.c_str() : "");
    if (!decoded)
        inspect_problem(path, warnings);
}
