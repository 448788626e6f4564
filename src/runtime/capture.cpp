#include "runtime/capture.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/sound.h"
#include "core/fatal.h"
#include "platform/subprocess.h"
#include "platform/terminal.h"
#include "runtime/media_files.h"
#include "core/music_position.h"

namespace {

constexpr int source_width = 320;
constexpr int source_height = 200;
constexpr uint32_t sample_rate = 44100;
// The production ends at row 30 of order 16: the progress bar's 100 %.
constexpr double end_position = 16 * 64 + 30;

struct CaptureState {
    bool active = false;
    bool video = false;                  // .mp4 or .mkv through ffmpeg
    bool mp4 = false;
    CaptureSettings settings;
    std::string audio_path;              // audio.wav, or the video's temporary sound
    std::string video_path;              // the temporary picture-only video
    WavFile wav;
    ChildProcess encoder;                // ffmpeg taking raw frames
    int64_t frames = 0;                  // frames written so far
    std::vector<uint32_t> last_frame;    // held at the end of a video until the sound ends
    uint64_t started_ns = 0;             // wall clock when the capture began
    uint64_t last_report_ns = 0;         // wall clock of the last progress line
    bool terminal = false;
};

CaptureState capture;

std::string rate_text() { return std::to_string(capture.settings.fps_num) + "/" + std::to_string(capture.settings.fps_den); }

void report_progress(bool final_line)
{
    uint64_t now = clock_real_ns();
    double since_report = (now - capture.last_report_ns) * 1e-9;
    if (!final_line && since_report < (capture.terminal ? 0.25 : 5.0))
        return;
    capture.last_report_ns = now;
    double elapsed = (now - capture.started_ns) * 1e-9;
    double fraction = (music_order * 64.0 + music_row) / end_position;
    fraction = final_line ? 1.0 : (fraction < 0 ? 0 : fraction > 1 ? 1 : fraction);
    double fps = elapsed > 0 ? capture.frames / elapsed : 0;
    double left = fraction > 0.001 ? elapsed * (1 - fraction) / fraction : 0;
    if (capture.terminal) {
        char bar[31];
        int filled = static_cast<int>(fraction * 30);
        for (int i = 0; i < 30; ++i)
            bar[i] = i < filled ? '#' : '.';
        bar[30] = 0;
        std::fprintf(stderr, "\rcapture [%s] %3d%%  %6.1f fps  %4.0f s left ", bar, static_cast<int>(fraction * 100), fps, left);
        if (final_line)
            std::fputc('\n', stderr);
    } else {
        std::fprintf(stderr, "capture: %3d%%, frame %" PRId64 ", %.1f fps, %.0f s left\n",
                     static_cast<int>(fraction * 100), capture.frames, fps, left);
    }
    std::fflush(stderr);
}

bool ends_with(const std::string& text, const char* suffix)
{
    size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

bool start_encoder(std::string& error)
{
    const CaptureSettings& s = capture.settings;
    std::vector<std::string> args = {"ffmpeg", "-loglevel", "error", "-nostdin", "-y",
        "-f", "rawvideo", "-pixel_format", "bgr0", "-video_size", "320x200",
        "-framerate", rate_text(), "-i", "pipe:0"};
    std::string filter = capture_scale_filter(s.width, s.height);
    if (!filter.empty()) {
        args.push_back("-vf");
        args.push_back(filter);
    }
    if (capture.mp4) {
        for (const char* a : {"-c:v", "libx264", "-preset", "superfast", "-crf", "18", "-pix_fmt", "yuv420p"})
            args.push_back(a);
    } else {
        for (const char* a : {"-c:v", "ffv1", "-level", "3"})
            args.push_back(a);
    }
    args.push_back(capture.video_path);
    if (!child_start(capture.encoder, args)) {
        error = "cannot start ffmpeg";
        return false;
    }
    return true;
}

}  // namespace

std::string capture_scale_filter(int width, int height)
{
    if (width == source_width && height == source_height)
        return "";
    // Nearest neighbour: every frame pixel stays a sharp block (blocks differ
    // by at most one pixel in size where the factor is not whole). Smoother
    // two-step scalers cost more time than the encoder itself.
    return "scale=" + std::to_string(width) + ":" + std::to_string(height) + ":flags=neighbor,setsar=1";
}

bool capture_open(const CaptureSettings& settings, std::string& error)
{
    capture = CaptureState{};
    capture.settings = settings;
    capture.video = ends_with(settings.out, ".mp4") || ends_with(settings.out, ".mkv");
    capture.mp4 = ends_with(settings.out, ".mp4");
    if (capture.video) {
        if (capture.mp4 && (settings.width % 2 || settings.height % 2)) {
            error = "the video size must be even for .mp4";
            return false;
        }
        if (!program_available("ffmpeg")) {
            error = "the ffmpeg program is needed for " + settings.out + " (install the ffmpeg package, or capture to a folder)";
            return false;
        }
        capture.video_path = settings.out + ".video" + (capture.mp4 ? ".mp4" : ".mkv");
        capture.audio_path = settings.out + ".audio.wav";
    } else {
        if (!folder_create(settings.out, error)) {
            error = "cannot create " + error;
            return false;
        }
        capture.audio_path = settings.out + "/audio.wav";
    }
    if (!wav_open(capture.wav, capture.audio_path.c_str(), sample_rate, 2)) {
        error = "cannot write " + capture.audio_path + ": " + std::strerror(errno);
        return false;
    }
    if (capture.video && !start_encoder(error))
        return false;
    capture.started_ns = capture.last_report_ns = clock_real_ns();
    capture.terminal = terminal_attached(2);
    capture.active = true;
    return true;
}

bool capture_active() { return capture.active; }

bool capture_frame(const uint32_t* frame, std::string& error)
{
    if (!capture.active)
        return true;
    if (capture.video) {
        if (!child_write(capture.encoder, frame, source_width * source_height * 4)) {
            error = "ffmpeg stopped taking frames for " + capture.settings.out;
            return false;
        }
        capture.last_frame.assign(frame, frame + source_width * source_height);
    } else {
        char name[32];
        std::snprintf(name, sizeof name, "/%06" PRId64 ".png", capture.frames);
        std::string path = capture.settings.out + name;
        if (!png_write_frame(path.c_str(), frame, source_width, source_height)) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            return false;
        }
    }
    ++capture.frames;
    report_progress(false);
    return true;
}

bool capture_audio(const int16_t* samples, uint64_t frames, std::string& error)
{
    if (!capture.active)
        return true;
    if (!wav_append(capture.wav, samples, frames)) {
        error = "cannot write " + capture.audio_path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool capture_finish(std::string& error)
{
    if (!capture.active)
        return true;
    capture.active = false;
    uint64_t sound_frames = capture.wav.frames;
    if (!wav_close(capture.wav)) {
        error = "cannot write " + capture.audio_path + " (disk full?)";
        return false;
    }
    if (!capture.video) {
        report_progress(true);
        return true;
    }
    // Hold the last picture until the sound (closing slide and fade) ends.
    const CaptureSettings& s = capture.settings;
    while (!capture.last_frame.empty() &&
           capture.frames * s.fps_den * sample_rate < static_cast<int64_t>(sound_frames) * s.fps_num) {
        if (!child_write(capture.encoder, capture.last_frame.data(), source_width * source_height * 4))
            break;
        ++capture.frames;
    }
    if (child_finish(capture.encoder) != 0) {
        error = "ffmpeg failed to encode " + capture.settings.out;
        return false;
    }
    std::vector<std::string> args = {"ffmpeg", "-loglevel", "error", "-nostdin", "-y",
        "-i", capture.video_path, "-i", capture.audio_path, "-map", "0:v", "-map", "1:a", "-c:v", "copy"};
    for (const char* a : capture.mp4 ? std::vector<const char*>{"-c:a", "aac", "-b:a", "256k"}
                                     : std::vector<const char*>{"-c:a", "flac"})
        args.push_back(a);
    args.push_back(s.out);
    ChildProcess mux;
    bool ok = child_start(mux, args) && child_finish(mux) == 0;
    std::remove(capture.video_path.c_str());
    std::remove(capture.audio_path.c_str());
    if (!ok) {
        error = "ffmpeg failed to join sound and picture into " + s.out;
        return false;
    }
    report_progress(true);
    std::fprintf(stderr, "capture: wrote %s\n", s.out.c_str());
    return true;
}

namespace {

std::string sound_error;  // the first failed sound write, reported at the next frame

// The offline sound device's sink: every sample goes into the capture.
void capture_sound_sink(const int16_t* frames, size_t count)
{
    std::string error;
    if (sound_error.empty() && !capture_audio(frames, count, error))
        sound_error = error;
}

// Finisher of a capture run: completes the files; a complete capture of a
// production that ended normally (or by a scripted key) exits with 0.
void capture_end_of_run()
{
    std::string error;
    if (!capture_finish(error)) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        process_set_exit_code(1);
    } else if (!error_reported && sound_error.empty()) {
        process_set_exit_code(0);
    }
}

}  // namespace

bool capture_start_run(const CaptureSettings& settings, std::string& error)
{
    if (!capture_open(settings, error))
        return false;
    sound_set_sample_sink(capture_sound_sink);
    process_on_exit(capture_end_of_run);
    return true;
}

void capture_take_frame(const uint32_t* frame)
{
    std::string error;
    if (!sound_error.empty())
        report_error("%s", sound_error.c_str());
    if (!capture_frame(frame, error))
        report_error("%s", error.c_str());
}
