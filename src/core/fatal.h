// The one fatal-error path and the one way the production ends. Every room
// reports a problem through report_error; the timeline's end, Escape, the
// window's destruction and a quit message go through shutdown. Both run
// release_all first, then end the process with exit code 1.
#pragma once

extern bool error_reported;  // set once report_error runs: the end is a failure

// What release_all lets go of besides the frame, registered by the room that holds it.
enum ReleaseStep {
    RELEASE_MUSIC,    // the music's pitch slide, fade and player (registered by music_init)
    RELEASE_DISPLAY,  // the display objects (registered by display_open)
    RELEASE_STEPS,
};

// Called by music_init and display_open: the function release_all runs for
// step (nullptr: nothing to run).
void release_register(ReleaseStep step, void (*release)());

// Formats a message, prints "error: MESSAGE" on standard error, releases
// music and display, shows the error box and ends the process with code 1.
[[noreturn]] void report_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// In this order: the music slides down and fades, the frame is freed, the
// display objects are released.
void release_all();

// release_all, then ends the process with exit code 1.
[[noreturn]] void shutdown();
