#include "runtime/options.h"

#include <cstdlib>
#include <cstring>

#include "display/pixel_format.h"
#include "platform/window.h"

RunOptions run_options;

namespace {

bool parse_int(const std::string& text, int64_t min, int64_t max, int64_t& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || value < min || value > max)
        return false;
    out = value;
    return true;
}

bool parse_fps(const std::string& text, RunOptions& o)
{
    size_t slash = text.find('/');
    int64_t num = 0, den = 1;
    if (slash == std::string::npos)
        return parse_int(text, 1, 1000, num) && (o.fps_num = num, o.fps_den = 1, true);
    if (!parse_int(text.substr(0, slash), 1, 1000000, num) || !parse_int(text.substr(slash + 1), 1, 1000000, den))
        return false;
    if (num / den > 1000 || num < den)
        return false;
    o.fps_num = num;
    o.fps_den = den;
    return true;
}

bool parse_keys(const std::string& text, RunOptions& o)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t colon = item.find(':');
        if (colon == std::string::npos)
            return false;
        int64_t frame = 0;
        if (!parse_int(item.substr(0, colon), 0, INT64_MAX, frame))
            return false;
        std::string name = item.substr(colon + 1);
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        int key;
        if (name == "ESC" || name == "ESCAPE") key = WINDOW_KEY_ESCAPE;
        else if (name == "F1") key = WINDOW_KEY_F1;
        else if (name == "F2") key = WINDOW_KEY_F2;
        else if (name == "F8") key = WINDOW_KEY_F8;
        else return false;
        o.keys.push_back({frame, key});
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return true;
}

bool parse_size(const std::string& text, RunOptions& o)
{
    size_t x = text.find_first_of("xX");
    int64_t w = 0, h = 0;
    if (x == std::string::npos || !parse_int(text.substr(0, x), 16, 16384, w) || !parse_int(text.substr(x + 1), 16, 16384, h))
        return false;
    o.size_w = static_cast<int>(w);
    o.size_h = static_cast<int>(h);
    return true;
}

// Options that take a value, and how to read it.
struct ValueOption {
    const char* name;
    bool (*apply)(const std::string& value, RunOptions& o);
};

const ValueOption value_options[] = {
    {"capture", [](const std::string& v, RunOptions& o) { o.capture = v; return !v.empty(); }},
    {"fps", parse_fps},
    {"frames", [](const std::string& v, RunOptions& o) { return parse_int(v, 0, INT64_MAX, o.frames); }},
    {"trace", [](const std::string& v, RunOptions& o) { o.trace = v; return !v.empty(); }},
    {"keys", parse_keys},
    {"aspect", [](const std::string& v, RunOptions& o) {
         if (v == "4:3") o.aspect = AspectMode::four_three;
         else if (v == "stretch") o.aspect = AspectMode::stretch;
         else if (v == "square") o.aspect = AspectMode::square;
         else return false;
         return true; }},
    {"depth", [](const std::string& v, RunOptions& o) {
         static const struct { const char* text; int code; } depths[] = {
             {"32", 32}, {"24", 24}, {"16", 16}, {"15", 15}, {"16x2", PIXEL_DEPTH_DOUBLED_16}, {"15x2", PIXEL_DEPTH_DOUBLED_15}};
         for (const auto& d : depths)
             if (v == d.text) { o.depth = d.code; return true; }
         return false; }},
    {"audio-offset", [](const std::string& v, RunOptions& o) {
         int64_t ms = 0;
         if (!parse_int(v, -10000, 10000, ms)) return false;
         o.audio_offset_ms = static_cast<int>(ms);
         return true; }},
    {"size", parse_size},
    // Not in --help: a test hook that starts the virtual clock near its 32-bit wrap.
    {"clock-start", [](const std::string& v, RunOptions& o) {
         int64_t ms = 0;
         if (!parse_int(v, 0, UINT32_MAX, ms)) return false;
         o.clock_start_ms = static_cast<uint32_t>(ms);
         return true; }},
};

// Options without a value.
struct FlagOption {
    const char* name;
    bool RunOptions::*flag;
    bool value;
};

const FlagOption flag_options[] = {
    {"help", &RunOptions::help, true},
    {"version", &RunOptions::version, true},
    {"headless", &RunOptions::headless, true},
    {"integer-scale", &RunOptions::integer_scale, true},
    {"no-vsync", &RunOptions::vsync, false},
    {"bench", &RunOptions::bench, true},
    {"json", &RunOptions::json, true},
    {"timeline", &RunOptions::timeline, true},
    {"desktop", &RunOptions::desktop, true},
    // Not in --help: a test hook that lets a live trace be laid against other
    // recordings of the monotonic clock.
    {"trace-clock", &RunOptions::trace_clock, true},
};

}  // namespace

bool options_parse(int argc, char** argv, std::string& words, std::string& error)
{
    words.clear();
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool handled = false;
        if (arg.rfind("--", 0) == 0) {
            std::string body = arg.substr(2);
            size_t eq = body.find('=');
            std::string name = body.substr(0, eq);
            for (const FlagOption& f : flag_options) {
                if (name != f.name)
                    continue;
                if (eq != std::string::npos) {
                    error = "option --" + name + " takes no value";
                    return false;
                }
                run_options.*(f.flag) = f.value;
                handled = true;
            }
            for (const ValueOption& v : value_options) {
                if (name != v.name)
                    continue;
                std::string value;
                if (eq != std::string::npos) {
                    value = body.substr(eq + 1);
                } else if (i + 1 < argc) {
                    value = argv[++i];
                } else {
                    error = "option --" + name + " needs a value";
                    return false;
                }
                if (!v.apply(value, run_options)) {
                    error = "bad value for --" + name + ": \"" + value + "\"";
                    return false;
                }
                handled = true;
            }
        }
        // Anything else, including unknown --words, stays a word of the command line.
        if (!handled) {
            if (!words.empty())
                words += ' ';
            words += arg;
        }
    }
    return true;
}

const char* options_help_text()
{
    return
        "usage: vivur [windowed] [log] [options]\n"
        "\n"
        "Words (matched anywhere in the command line, in any case):\n"
        "  windowed               play in a window instead of full screen\n"
        "  log                    write log.txt with the start-up banner\n"
        "\n"
        "Options (--name=value or --name value):\n"
        "  --help                 this text\n"
        "  --version              print the version\n"
        "  --headless             no window and no sound device; virtual clock, as fast as possible\n"
        "  --capture=OUT          render offline to OUT: a directory of PNG frames and audio.wav,\n"
        "                         or a video file ending in .mp4 or .mkv\n"
        "  --fps=N or N/D         frame rate of headless and capture runs (default 60)\n"
        "  --size=WxH             video size of capture files (default 1440x1080)\n"
        "  --frames=N             end after N presented frames\n"
        "  --trace=FILE           write frame,timer_ticks,order,row,step for every frame\n"
        "  --keys=FRAME:KEY,...   press ESC, F1, F2 or F8 after FRAME (headless and capture)\n"
        "  --aspect=4:3|stretch|square   picture shape in the window (default 4:3)\n"
        "  --integer-scale        scale by whole multiples only\n"
        "  --no-vsync             do not wait for the display's refresh\n"
        "  --depth=32|24|16|15|16x2|15x2 force one presentation pixel format\n"
        "  --audio-offset=MS      shift the music clock by MS milliseconds of extra latency\n"
        "  --bench [--json]       time every scene's per-frame routine and print a table\n"
        "  --timeline             print the timeline's steps, their end marks and beat tables as JSON\n"
        "  --desktop              play in ~/Pictures/vivur (made if missing), where screenshots go\n"
        "                         and loose files override the archive (the menu entry's start)\n"
        "\n"
        "Keys: Escape quits, F1 writes a screenshot (shotNNNN.tga), F2 toggles full screen\n"
        "and window, F8 leaves full screen and opens the web site.\n";
}
