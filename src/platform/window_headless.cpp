// The headless window: no window system at all. Messages come from the
// queue (scripted keys, tests) and from stop requests (stop_request.h),
// which become a quit message at the next pump.
#include "platform/dialog.h"
#include "platform/stop_request.h"
#include "platform/window_internal.h"

namespace {

constexpr PlatformRect headless_desktop{0, 0, 1024, 768};  // the pretend desktop

bool headless_create(WindowHandle& window, const char*, const PlatformRect& rect)
{
    window.rect = rect;
    stop_request_watch();
    dialog_enable(false);
    return true;
}

void headless_release(WindowHandle&) { stop_request_release(); }

void headless_show(WindowHandle&) {}

bool headless_poll(WindowMessage& message)
{
#ifdef __EMSCRIPTEN__
    window_web_yield();
#endif
    if (!stop_request_take())
        return false;
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
