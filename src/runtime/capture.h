// Offline capture of the production: every presented frame and every sample
// of sound go either to a folder (numbered PNG frames and audio.wav) or,
// for a name ending in .mp4 or .mkv, through the ffmpeg program into a video.
#pragma once
#include <cstdint>
#include <string>

struct CaptureSettings {
    std::string out;                  // folder, or .mp4 / .mkv file
    int64_t fps_num = 60, fps_den = 1;
    int width = 1440, height = 1080;  // video size; 320 x 200 gives the raw frames
};

// Prepares the output. Returns false with a message naming the problem.
bool capture_open(const CaptureSettings& settings, std::string& error);
bool capture_active();
// One presented 320 x 200 frame; frames are numbered from 0 in call order.
// Returns false with a message when writing failed.
bool capture_frame(const uint32_t* frame, std::string& error);
// Interleaved 16-bit stereo samples at 44100 Hz, in playback order.
bool capture_audio(const int16_t* samples, uint64_t frames, std::string& error);
// Finishes the files (for a video: the last frame is held until the sound
// ends, then sound and picture are joined). Returns false with a message.
bool capture_finish(std::string& error);

// Called by backends_choose for --capture: opens the output of settings,
// routes the offline sound into it and finishes it when the process ends
// (exit code 0 for a complete capture). Returns false with a message.
bool capture_start_run(const CaptureSettings& settings, std::string& error);
// Called by pacing for every shown frame of a capture run; a write that
// fails stops the run through report_error.
void capture_take_frame(const uint32_t* frame);

// The ffmpeg arguments of the two passes, exposed for tests.
std::string capture_scale_filter(int width, int height);
