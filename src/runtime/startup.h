// Start-up, the timer, the log banner, the one fatal-error path and the one
// way the production ends. Every other unit leans on these.
#pragma once
#include <cstdint>

extern char* command_line;        // upper-cased words of the command line, kept for has_option
extern bool fullscreen;           // true unless "windowed" was given; the display changes it
extern const char* window_title;  // "yrk/win v1.0 (alpha)" once startup has run
extern int32_t startup_random_table[256];
extern bool error_reported;       // set once report_error runs: the end is a failure  // the first 256 draws of random_next; nobody reads them

// Called once, first thing: upper-cases line in place and keeps it, draws
// 256 random numbers, writes the log banner, starts the timer, builds the
// blending and engine tables, and sets fullscreen and the window title.
void startup(char* line);

// True when word (any case) occurs anywhere in command_line, also inside a longer word.
bool has_option(const char* word);

// Stores the millisecond base of timer_ticks.
void timer_start();
// 4 units per millisecond since timer_start, in wrapping 32-bit arithmetic.
int32_t timer_ticks();

// Writes "log.txt" (three banner lines) when the command line holds "log".
void write_log_banner();

// Formats a message, prints "error: MESSAGE" on standard error, releases
// music and display, shows the error box and ends the process with code 1.
[[noreturn]] void report_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Stops the music, frees the frame and releases the display objects.
void release_all();

// release_all, then ends the process with exit code 1.
[[noreturn]] void shutdown();
