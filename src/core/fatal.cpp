#include "core/fatal.h"

#include <cstdarg>
#include <cstdio>

#include "core/frame.h"
#include "platform/dialog.h"
#include "platform/process.h"

bool error_reported = false;

namespace {
void (*release_steps[RELEASE_STEPS])() = {};  // registered by the rooms that hold something
}

void release_register(ReleaseStep step, void (*release)()) { release_steps[step] = release; }

void report_error(const char* format, ...)
{
    // vsnprintf and snprintf cut an over-long message at the buffer's end.
    char message[800];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    char text[1024];
    std::snprintf(text, sizeof text, "error: %s\n", message);
    std::fputs(text, stderr);
    std::fflush(stderr);
    // A failure inside the release itself reports again: end at once then.
    if (error_reported)
        process_exit(1);
    error_reported = true;
    release_all();
    dialog_show_error("error", text);
    process_exit(1);
}

void release_all()
{
    if (release_steps[RELEASE_MUSIC])
        release_steps[RELEASE_MUSIC]();
    frame_free();
    if (release_steps[RELEASE_DISPLAY])
        release_steps[RELEASE_DISPLAY]();
}

void shutdown()
{
    release_all();
    process_exit(1);
}
