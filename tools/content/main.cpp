// vivur-content: writes the default content, as single files (--out DIR), as the
// archive (--pak FILE) or as PNG previews of the decoded pictures (--preview DIR).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <png.h>

#include "content.h"
#include "icon.h"
#include "jpeg_encode.h"
#include "pak_writer.h"
#include "platform/files.h"

namespace {

const char* usage =
    "usage: vivur-content [--out DIR] [--pak FILE] [--preview DIR] [--icon FILE] [--icons DIR]\n"
    "  --out DIR      write every asset as a single file into DIR\n"
    "  --pak FILE     write the archive FILE (for example vivur.pak)\n"
    "  --preview DIR  write each picture, decoded, as a PNG into DIR\n"
    "  --icon FILE    write the Windows program icon (.ico), drawn from the intro picture\n"
    "  --icons DIR    write the same icon as DIR/SIZExSIZE/apps/vivur.png in the usual sizes\n";

bool make_dir(const std::string& dir)
{
    std::string error;
    if (folder_create(dir, error))
        return true;
    std::fprintf(stderr, "vivur-content: cannot create %s\n", error.c_str());
    return false;
}

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "vivur-content: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok)
        std::fprintf(stderr, "vivur-content: cannot write %s\n", path.c_str());
    return ok;
}

bool write_png(const std::string& path, const std::vector<uint8_t>& rgb, int w, int h)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)w;
    image.height = (png_uint_32)h;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        std::fprintf(stderr, "vivur-content: cannot write %s: %s\n", path.c_str(), image.message);
        return false;
    }
    return true;
}

// Takes "--name value" or "--name=value" at argv[i]; advances i past the value.
bool take_option(int argc, char** argv, int& i, const char* name, std::string& value)
{
    size_t n = std::strlen(name);
    if (std::strncmp(argv[i], name, n) != 0)
        return false;
    if (argv[i][n] == '=') {
        value = argv[i] + n + 1;
        return true;
    }
    if (argv[i][n] == 0 && i + 1 < argc) {
        value = argv[++i];
        return true;
    }
    return false;
}

// Decodes a generated picture to RGB; says which one when it cannot.
bool decode_picture(const ContentFile& f, std::vector<uint8_t>& rgb, int& w, int& h)
{
    std::string error;
    if (jpeg_decode_rgb(f.bytes, rgb, w, h, error))
        return true;
    std::fprintf(stderr, "vivur-content: %s: %s\n", f.name.c_str(), error.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string out, pak, preview, icon, icons;
    for (int i = 1; i < argc; ++i) {
        if (take_option(argc, argv, i, "--out", out) || take_option(argc, argv, i, "--pak", pak) ||
            take_option(argc, argv, i, "--preview", preview) || take_option(argc, argv, i, "--icon", icon) ||
            take_option(argc, argv, i, "--icons", icons))
            continue;
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(usage, stdout);
            return 0;
        }
        std::fprintf(stderr, "vivur-content: unknown argument %s\n%s", argv[i], usage);
        return 2;
    }
    if (out.empty() && pak.empty() && preview.empty() && icon.empty() && icons.empty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::vector<ContentFile> files;
    std::string error;
    if (!content_generate(files, error)) {
        std::fprintf(stderr, "vivur-content: %s\n", error.c_str());
        return 1;
    }
    if (!out.empty()) {
        if (!make_dir(out))
            return 1;
        for (const ContentFile& f : files)
            if (!write_file(out + "/" + f.name, f.bytes))
                return 1;
    }
    if (!pak.empty()) {
        std::vector<PakFile> entries;
        for (const ContentFile& f : files)
            entries.push_back({f.name, f.bytes});
        if (!pak_write(pak, entries, error)) {
            std::fprintf(stderr, "vivur-content: %s: %s\n", pak.c_str(), error.c_str());
            return 1;
        }
    }
    if (!preview.empty()) {
        if (!make_dir(preview))
            return 1;
        for (const ContentFile& f : files) {
            if (f.name.size() < 4 || f.name.compare(f.name.size() - 4, 4, ".jpg") != 0)
                continue;
            std::vector<uint8_t> rgb;
            int w = 0, h = 0;
            if (!decode_picture(f, rgb, w, h))
                return 1;
            if (!write_png(preview + "/" + f.name.substr(0, f.name.size() - 4) + ".png", rgb, w, h))
                return 1;
        }
    }
    if (!icon.empty() || !icons.empty()) {
        for (const ContentFile& f : files) {
            if (f.name != "intro.jpg")
                continue;
            std::vector<uint8_t> rgb;
            int w = 0, h = 0;
            if (!decode_picture(f, rgb, w, h))
                return 1;
            if (!icon.empty() && !write_file(icon, icon_encode(rgb, w, h, 48)))
                return 1;
            for (int size : icon_png_sizes) {
                if (icons.empty())
                    break;
                const std::string folder = icons + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
                if (!make_dir(folder) || !write_png(folder + "/vivur.png", icon_square(rgb, w, h, size), size, size))
                    return 1;
            }
        }
    }
    return 0;
}
