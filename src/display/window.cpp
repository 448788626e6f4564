#include "display/window.h"

#include <algorithm>

#include "core/fatal.h"
#include "core/frame.h"
#include "display/display.h"
// F1 saves a screenshot: the window procedure's one call up to the runtime.
#include "runtime/screenshot.h"

WindowHandle* main_window = nullptr;
const char* window_title = nullptr;

namespace {

// What a key does; keys without an action do nothing.
void key_action(int32_t key)
{
    switch (key) {
    case WINDOW_KEY_ESCAPE:
        shutdown();
    case WINDOW_KEY_F1:
        save_screenshot();
        break;
    case WINDOW_KEY_F2:
        display_switch(!fullscreen);
        break;
    case WINDOW_KEY_F8:
        display_switch(false);
        window_open_url(VIVUR_WEBSITE_URL);
        break;
    default:
        break;
    }
}

}  // namespace

bool create_window()
{
    // Whole multiples of the 4:3 picture (320 x 240) within nine tenths of the desktop.
    PlatformRect desktop = window_desktop();
    int32_t desktop_w = desktop.right - desktop.left, desktop_h = desktop.bottom - desktop.top;
    int32_t shape_w = frame_width, shape_h = frame_width * 3 / 4;
    int32_t scale = std::max(1, std::min(desktop_w * 9 / 10 / shape_w, desktop_h * 9 / 10 / shape_h));
    int32_t w = scale * shape_w, h = scale * shape_h;
    int32_t left = desktop.left + (desktop_w - w) / 2, top = desktop.top + (desktop_h - h) / 2;
    main_window = window_create(window_title ? window_title : "", PlatformRect{left, top, left + w, top + h},
                                window_proc);
    if (!main_window)
        return false;
    window_show(main_window);
    window_update(main_window);
    window_rect = window_get_rect(main_window);
    return true;
}

int64_t window_proc(WindowHandle* window, const WindowMessage& message)
{
    switch (message.kind) {
    case WindowMessageKind::destroy:
        shutdown();
    case WindowMessageKind::paint:
        client_rect = window_client_rect(window);
        return window_default(window, message);
    case WindowMessageKind::set_cursor:
        if (fullscreen) {
            window_set_cursor(window, false);
            return 1;
        }
        client_rect = window_client_rect(window);
        return window_default(window, message);
    case WindowMessageKind::key_down:
        key_action(message.key);
        client_rect = window_client_rect(window);
        return window_default(window, message);
    default:
        return window_default(window, message);
    }
}

bool pump_messages()
{
    WindowMessage message;
    while (window_peek(message)) {
        if (message.kind == WindowMessageKind::quit)
            return true;
        window_dispatch(message);
    }
    return false;
}
