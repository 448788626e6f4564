#include "runtime/entry.h"

#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "runtime/bench.h"
#include "runtime/capture.h"
#include "runtime/options.h"
#include "runtime/timeline.h"

namespace {
std::string entry_words;  // the words left for the production's command line
}

int entry_main(int argc, char** argv)
{
    std::string error;
    if (!options_parse(argc, argv, entry_words, error)) {
        std::fprintf(stderr, "vivur: %s (see --help)\n", error.c_str());
        return 2;
    }
    if (run_options.help) {
        std::fputs(options_help_text(), stdout);
        return 0;
    }
    if (run_options.version) {
        std::printf("vivur %s\n", VIVUR_VERSION);
        return 0;
    }
    if (run_options.bench)
        bench_main(entry_words.data());
    // Headless and capture runs follow the virtual clock, which presentation
    // moves one frame at a time (the music unit picks its device the same way).
    // Its millisecond reading starts at 0 unless --clock-start says otherwise.
    if (run_options.headless || !run_options.capture.empty())
        clock_use_virtual(run_options.clock_start_ms);
    if (!run_options.capture.empty() && !capture_start_run(error)) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        return 1;
    }
    demo_main(entry_words.data());
}
