#include "runtime/backends.h"

#include "display/display.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "platform/window.h"
#include "runtime/capture.h"
#include "runtime/pacing.h"

RunMode run_mode(const RunOptions& options)
{
    if (options.bench)
        return RunMode::bench;
    if (!options.capture.empty())
        return RunMode::capture;
    return options.headless ? RunMode::headless : RunMode::live;
}

bool backends_choose(RunMode mode, const RunOptions& options, std::string& error)
{
    bool offline = mode != RunMode::live;
    if (offline)
        clock_use_virtual(options.clock_start_ms);
    else
        clock_use_live();
    window_use_headless(offline);
    video_use_headless(offline);
    sound_use_offline(offline);
    sound_set_latency_offset(options.audio_offset_ms);
    // The one frame rate of the run: the virtual clock's step and the capture's rate.
    pacing_set_rate(options.fps_num, options.fps_den);

    VideoPresentation presentation;
    presentation.aspect = options.aspect == AspectMode::stretch  ? VideoAspect::stretch
                          : options.aspect == AspectMode::square ? VideoAspect::square
                                                                 : VideoAspect::four_three;
    presentation.integer_scale = options.integer_scale;
    presentation.vsync = options.vsync;
    video_set_presentation(presentation);
    display_offer_depth(options.depth, 320, 200);
    for (const ScriptedKey& key : options.keys)
        window_script_add(key.frame, key.key);

    if (mode != RunMode::capture)
        return true;
    const CaptureSettings capture{options.capture, options.fps_num, options.fps_den, options.size_w, options.size_h};
    return capture_start_run(capture, error);
}
