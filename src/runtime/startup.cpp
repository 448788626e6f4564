#include "runtime/startup.h"

#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "core/random.h"
#include "core/timer.h"
#include "display/display.h"
#include "display/window.h"
#include "effects/blend.h"
#include "engine3d/tables.h"

char* command_line = nullptr;
int32_t startup_random_table[256];

namespace {
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
    display_set_fullscreen(!has_option("windowed"));
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

void write_log_banner()
{
    if (!has_option("log"))
        return;
    FILE* log = files_fopen("log.txt", "w+");
    if (!log)
        return;
    static const char plus[] = "+++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++";
    std::fprintf(log, "%s\n+++ %s\n%s\n", plus, "yrk/win v1.0 (alpha)", plus);
    std::fclose(log);
}
