// Our command-line options (--name=value or --name value). They are taken out
// of the command line before the remaining words are upper-cased and kept for
// has_option, so an option's value can never switch on a word.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class AspectMode { four_three, stretch, square };

struct ScriptedKey {
    int64_t frame;  // delivered at the message pump that follows this frame
    int key;        // the window service's WINDOW_KEY_* code
};

struct RunOptions {
    bool help = false;
    bool version = false;
    bool headless = false;            // no window, no sound device, virtual clock
    std::string capture;              // output directory or .mp4/.mkv file; empty: no capture
    int64_t fps_num = 60, fps_den = 1;  // frame rate of the virtual clock
    int64_t frames = -1;              // end after this many presented frames; -1: no limit
    std::string trace;                // CSV trace file; empty: none
    std::vector<ScriptedKey> keys;    // scripted key presses for headless and capture runs
    AspectMode aspect = AspectMode::four_three;
    bool integer_scale = false;
    bool vsync = true;
    int depth = 0;                    // forced presentation: 32, 24, 16, 15 or a PIXEL_DEPTH_DOUBLED_* code; 0 = automatic
    int audio_offset_ms = 0;          // added to the device latency estimate
    bool bench = false;
    bool json = false;
    bool timeline = false;            // print the timeline's steps as JSON and end
    bool desktop = false;             // play in the pictures folder's vivur/ (the desktop entry's start)
    int size_w = 1440, size_h = 1080; // video size for capture files
    uint32_t clock_start_ms = 0;      // first millisecond reading of the virtual clock (hidden --clock-start)
    bool trace_clock = false;         // trace lines end with the millisecond clock reading (hidden --trace-clock)
};

extern RunOptions run_options;

// Parses argv[1..argc-1] into run_options; the words that are not ours are
// joined with single spaces into words. Returns false with a message in error.
bool options_parse(int argc, char** argv, std::string& words, std::string& error);

// The text printed by --help.
const char* options_help_text();
