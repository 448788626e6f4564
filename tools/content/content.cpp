// Generates the assets in archive order.
#include "content.h"

#include <cstdio>

#include "jpeg_encode.h"
#include "pictures.h"
#include "scenes.h"
#include "song.h"

namespace {

// JPEG quality of every picture but the flicker overlay.
constexpr int picture_quality = 90;
// The overlay's: the flicker scene lifts every pixel that is not exactly zero
// toward white, so the faint ringing around the flame's edges must round to
// zero as often as it can.
constexpr int overlay_quality = 100;

bool add_picture(std::vector<ContentFile>& files, const char* name, const Canvas& c, std::string& error,
                 int quality = picture_quality)
{
    std::vector<uint8_t> bytes = jpeg_encode(c, quality, error);
    if (bytes.empty()) {
        error = std::string(name) + ": " + error;
        return false;
    }
    files.push_back({name, std::move(bytes)});
    return true;
}

}  // namespace

bool content_check_heet(const std::vector<uint8_t>& jpeg, std::string& error)
{
    // The flicker scene skips pixels whose 32 bits are all zero and brightens
    // every other one: left of column 200 it shows nothing of the overlay, and
    // to the right the flame must stand on exact black, not on a faint panel.
    std::vector<uint8_t> rgb;
    int w = 0, h = 0;
    if (!jpeg_decode_rgb(jpeg, rgb, w, h, error))
        return false;
    int black = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &rgb[((size_t)y * w + x) * 3];
            bool zero = !(p[0] | p[1] | p[2]);
            if (x < w - heet_columns && !zero) {
                char msg[96];
                std::snprintf(msg, sizeof msg, "heet.jpg: pixel (%d, %d) left of the flame's columns is not black", x, y);
                error = msg;
                return false;
            }
            black += x >= w - heet_columns && zero;
        }
    if (black * 100 < heet_black_percent * heet_columns * h) {
        char msg[128];
        std::snprintf(msg, sizeof msg, "heet.jpg: only %d %% of the right-hand %d columns are exactly black, %d %% needed",
                      black * 100 / (heet_columns * h), heet_columns, heet_black_percent);
        error = msg;
        return false;
    }
    return true;
}

bool content_generate(std::vector<ContentFile>& files, std::string& error)
{
    files.clear();
    if (!add_picture(files, "intro.jpg", picture_intro(), error) ||
        !add_picture(files, "feli.jpg", picture_feli(), error) ||
        !add_picture(files, "font.jpg", picture_font(), error) ||
        !add_picture(files, "norm.jpg", picture_norm(0), error) ||
        !add_picture(files, "norm2.jpg", picture_norm(1), error) ||
        !add_picture(files, "heet.jpg", picture_heet(), error, overlay_quality) ||
        !add_picture(files, "zwart.jpg", picture_zwart(), error) ||
        !add_picture(files, "mooier.jpg", picture_mooier(), error) ||
        !add_picture(files, "atg7.jpg", picture_atg7(), error) ||
        !add_picture(files, "marb2.jpg", picture_marb2(), error) ||
        !add_picture(files, "mulmap.jpg", picture_mulmap(), error) ||
        !add_picture(files, "scroll.jpg", picture_scroll(), error))
        return false;
    for (const ContentFile& f : files)
        if (f.name == "heet.jpg" && !content_check_heet(f.bytes, error))
            return false;
    files.push_back({"19.3ds", threeds_write_scene(scene_pulse())});
    files.push_back({"vlak.3ds", threeds_write_scene(scene_feedback())});
    ContentFile module{"wuntje.s3m", {}};
    if (!song_bytes(module.bytes, error)) {
        error = "wuntje.s3m: " + error;
        return false;
    }
    files.push_back(std::move(module));
    return true;
}
