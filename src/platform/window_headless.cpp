// The headless window: no window system at all. Messages come from the
// queue (scripted keys, tests) and from SIGINT and SIGTERM, which a flag
// turns into a quit message at the next pump.
#include <csignal>

#include "platform/dialog.h"
#include "platform/window_internal.h"

namespace {

constexpr PlatformRect headless_desktop{0, 0, 1024, 768};  // the pretend desktop

volatile std::sig_atomic_t quit_requested = 0;  // set by the signal handler
struct sigaction previous_int, previous_term;   // handlers before window_create

void note_quit_signal(int) { quit_requested = 1; }

bool headless_create(WindowHandle& window, const char*, const PlatformRect& rect)
{
    window.rect = rect;
    quit_requested = 0;
    struct sigaction action {};
    action.sa_handler = note_quit_signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_int);
    sigaction(SIGTERM, &action, &previous_term);
    dialog_enable(false);
    return true;
}

void headless_release(WindowHandle&)
{
    sigaction(SIGINT, &previous_int, nullptr);
    sigaction(SIGTERM, &previous_term, nullptr);
}

void headless_show(WindowHandle&) {}

bool headless_poll(WindowMessage& message)
{
#ifdef __EMSCRIPTEN__
    window_web_yield();
#endif
    if (!quit_requested)
        return false;
    quit_requested = 0;
    message = {WindowMessageKind::quit, 0};
    return true;
}

PlatformRect headless_get_rect(WindowHandle& window)
{
    return window.covering ? headless_desktop : window.rect;
}

void headless_set_rect(WindowHandle& window, const PlatformRect& rect) { window.rect = rect; }

PlatformRect headless_desktop_rect() { return headless_desktop; }

void headless_set_cursor(bool) {}

void headless_open_url(const char*) {}

void headless_set_covering(WindowHandle&, bool) {}

}  // namespace

const WindowBackend window_headless_backend = {
    headless_create, headless_release, headless_show, headless_poll, headless_get_rect,
    headless_set_rect, headless_desktop_rect, headless_set_cursor, headless_open_url,
    headless_set_covering,
};
