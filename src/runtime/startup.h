// Start-up and the command line: the words kept for has_option, the first
// random draws, the log banner, the timer base, the shared tables, the
// presentation asked for and the window title. The timeline calls startup
// once, first thing.
#pragma once
#include <cstdint>

extern char* command_line;              // upper-cased words of the command line, kept for has_option
extern int32_t startup_random_table[256];  // the first 256 draws of random_next; nobody reads them

// Upper-cases line in place and keeps it, draws 256 random numbers, writes
// the log banner, starts the timer, builds the blending and engine tables,
// and sets full screen (unless "windowed") and the window title.
void startup(char* line);

// True when word (any case) occurs anywhere in command_line, also inside a longer word.
bool has_option(const char* word);

// Writes "log.txt" (three banner lines) when the command line holds "log".
void write_log_banner();
