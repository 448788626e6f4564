#include "runtime/startup.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "display/display.h"
#include "display/frame.h"
#include "effects/blend.h"
#include "engine3d/tables.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/process.h"
#include "runtime/music.h"
#include "runtime/random.h"

char* command_line = nullptr;
bool fullscreen = true;
const char* window_title = nullptr;
int32_t startup_random_table[256];
bool error_reported = false;

namespace {
uint32_t timer_base = 0;  // clock reading at timer_start
char empty_line[1] = "";
}

void startup(char* line)
{
    if (!line)
        line = empty_line;
    for (char* p = line; *p; ++p)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
    command_line = line;
    for (int32_t& entry : startup_random_table)
        entry = random_next();
    write_log_banner();
    timer_start();
    init_blend_tables();
    fullscreen = !has_option("windowed");
    engine_tables_init();
    window_title = "yrk/win v1.0 (alpha)";
}

bool has_option(const char* word)
{
    if (!command_line)
        return false;
    char upper[256];
    std::snprintf(upper, sizeof upper, "%s", word);
    for (char* p = upper; *p; ++p)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
    return std::strstr(command_line, upper) != nullptr;
}

void timer_start() { timer_base = clock_milliseconds(); }

int32_t timer_ticks()
{
    return static_cast<int32_t>((clock_milliseconds() - timer_base) * 4u);
}

void write_log_banner()
{
    if (!has_option("log"))
        return;
    FILE* log = std::fopen("log.txt", "w+");
    if (!log)
        return;
    static const char plus[] = "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++";
    std::fprintf(log, "%s\n+++ %s\n%s\n", plus, "yrk/win v1.0 (alpha)", plus);
    std::fclose(log);
}

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
    music_stop();
    frame_free();
    release_display();
}

void shutdown()
{
    release_all();
    process_exit(1);
}
