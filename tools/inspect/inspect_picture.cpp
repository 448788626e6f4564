// Pictures: size and components from the JPEG header, then a decode by the
// production's own load_jpeg, whose warnings and size checks are reported.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "inspect.h"
#include "resources/file.h"
#include "resources/jpeg.h"

void inspect_picture(const std::string& path, const AssetRule* rule)
{
    FileHandle file{};
    std::string out, message;
    if (!inspect_guard([&] { file = file_open(path.c_str()); }, out, message)) {
        inspect_problem(path, message);
        return;
    }
    uint32_t header_width = 0, header_height = 0;
    int components = 0;
    bool readable = jpeg_header_size(file.data, file.size, &header_width, &header_height, &components);
    const int width = static_cast<int>(header_width);
    const int height = static_cast<int>(header_height);
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
