#include "platform/clock.h"

#include <chrono>
#include <thread>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {
bool virtual_mode = false;          // true after clock_use_virtual
uint32_t virtual_start_ms = 0;      // millisecond reading at virtual time 0
uint64_t virtual_ns = 0;            // virtual time since clock_use_virtual
void (*virtual_listener)(uint64_t) = nullptr;
}

uint32_t clock_milliseconds()
{
    if (virtual_mode)
        return virtual_start_ms + static_cast<uint32_t>(virtual_ns / 1000000u);
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint64_t clock_real_ns()
{
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

void clock_sleep(uint32_t ms)
{
    if (virtual_mode) {
        clock_virtual_set_ns(virtual_ns + uint64_t(ms) * 1000000u);
        return;
    }
#ifdef __EMSCRIPTEN__
    // The page goes on meanwhile: sound is rendered, keys arrive.
    emscripten_sleep(ms);
#else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
#endif
}

void clock_use_virtual(uint32_t start_ms)
{
    virtual_mode = true;
    virtual_start_ms = start_ms;
    virtual_ns = 0;
}

bool clock_is_virtual() { return virtual_mode; }

uint64_t clock_virtual_ns() { return virtual_ns; }

void clock_virtual_set_ns(uint64_t ns)
{
    if (ns < virtual_ns)
        return;
    virtual_ns = ns;
    if (virtual_listener)
        virtual_listener(ns);
}

void clock_set_virtual_listener(void (*listener)(uint64_t ns)) { virtual_listener = listener; }

void clock_use_live()
{
    virtual_mode = false;
    virtual_ns = 0;
    virtual_listener = nullptr;
}
