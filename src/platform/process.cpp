#include "platform/process.h"

#include <cstdio>
#include <unistd.h>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// In the browser the program ends by telling the page and then waiting for
// good where it stands; the page shows the end and can start a new program.
EM_ASYNC_JS(void, process_end_in_page, (int code), {
    if (Module.onExit)
        Module.onExit(code);
    await new Promise(() => {});
});
#endif

namespace {
constexpr int max_finishers = 16;
void (*finishers[max_finishers])();   // registered finishers, oldest first
int finisher_count = 0;
void (*exit_handler)(int) = nullptr;  // test or fuzzer interception
int replaced_code = -1;               // set by a finisher; -1 keeps the code given
}

void process_set_exit_code(int code) { replaced_code = code; }

void process_on_exit(void (*finisher)())
{
    if (finisher_count < max_finishers)
        finishers[finisher_count++] = finisher;
}

void process_clear_finishers() { finisher_count = 0; }

void process_set_exit_handler(void (*handler)(int code)) { exit_handler = handler; }

void process_exit(int code)
{
    // Take each finisher off the list before running it, so a finisher that
    // ends up here again cannot run twice.
    while (finisher_count > 0) {
        void (*finisher)() = finishers[--finisher_count];
        finisher();
    }
    if (replaced_code >= 0) {
        code = replaced_code;
        replaced_code = -1;
    }
    std::fflush(nullptr);
    if (exit_handler)
        exit_handler(code);
#ifdef __EMSCRIPTEN__
    process_end_in_page(code);
#endif
    _exit(code);
}
