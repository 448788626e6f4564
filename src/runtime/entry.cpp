#include "runtime/entry.h"

#include <cstdio>
#include <string>

#include "platform/files.h"
#include "runtime/backends.h"
#include "runtime/bench.h"
#include "runtime/options.h"
#include "runtime/timeline.h"
#include "runtime/timeline_steps.h"

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
    if (run_options.timeline) {
        timeline_print_json();
        return 0;
    }
    if (run_options.desktop) {
        // Started from the desktop menu: a folder of its own rather than the home folder.
        const std::string pictures = folder_pictures();
        if (pictures.empty() || !folder_enter(pictures + "/vivur", error)) {
            std::fprintf(stderr, "error: cannot enter the folder for vivur: %s\n",
                         pictures.empty() ? "the home folder is not set" : error.c_str());
            return 1;
        }
    }
    RunMode mode = run_mode(run_options);
    if (!backends_choose(mode, run_options, error)) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        return 1;
    }
    if (mode == RunMode::bench)
        bench_main(entry_words.data());
    demo_main(entry_words.data());
}
