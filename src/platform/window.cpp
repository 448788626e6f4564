// The window service's common part: the message queue, dispatching, the
// default handling, scripted keys and the choice of backend.
#include "platform/window_internal.h"

#include <cstdio>
#include <vector>

namespace {

struct ScriptEntry {
    int64_t frame;  // the key goes down at the pump after this frame
    int32_t key;
};

constexpr int queue_size = 64;

const WindowBackend* backend = &window_live_backend;  // chosen by window_use_headless
WindowHandle the_window;                              // the one window
bool window_exists = false;                           // the_window was created
char error_text[256] = "";                            // why window_create failed
WindowMessage queue[queue_size];                      // posted messages, oldest at queue_head
int queue_head = 0;
int queue_count = 0;
std::vector<ScriptEntry> script;                      // scripted keys, in the order given
bool cursor_shown = true;                             // last state given to window_set_cursor
char last_url[512] = "";                              // last URL opened

}  // namespace

void window_use_headless(bool headless)
{
    backend = headless ? &window_headless_backend : &window_live_backend;
}

bool window_is_headless() { return backend == &window_headless_backend; }

WindowHandle* window_main() { return window_exists ? &the_window : nullptr; }

void window_set_error(const char* text) { std::snprintf(error_text, sizeof error_text, "%s", text); }

const char* window_error() { return error_text; }

WindowHandle* window_create(const char* title, const PlatformRect& rect, WindowProc proc)
{
    if (window_exists)
        window_release(&the_window);
    the_window = WindowHandle{};
    the_window.proc = proc;
    the_window.rect = rect;
    if (!backend->create(the_window, title, rect))
        return nullptr;
    window_exists = true;
    cursor_shown = true;
    return &the_window;
}

void window_release(WindowHandle* window)
{
    if (!window || !window_exists)
        return;
    backend->release(*window);
    window_exists = false;
    queue_head = queue_count = 0;
    script.clear();
    last_url[0] = '\0';
}

void window_show(WindowHandle* window) { backend->show(*window); }

void window_update(WindowHandle* window)
{
    if (window->proc)
        window->proc(window, WindowMessage{WindowMessageKind::paint, 0});
}

void window_post(const WindowMessage& message)
{
    if (queue_count == queue_size)
        return;  // a full queue drops the newest, as a message queue does
    queue[(queue_head + queue_count) % queue_size] = message;
    ++queue_count;
}

bool window_peek(WindowMessage& message)
{
    if (queue_count > 0) {
        message = queue[queue_head];
        queue_head = (queue_head + 1) % queue_size;
        --queue_count;
        return true;
    }
    return window_exists && backend->poll(message);
}

int64_t window_dispatch(const WindowMessage& message)
{
    if (!window_exists || !the_window.proc)
        return 0;
    return the_window.proc(&the_window, message);
}

int64_t window_default(WindowHandle* window, const WindowMessage& message)
{
    switch (message.kind) {
    case WindowMessageKind::close:
        if (window->proc)
            window->proc(window, WindowMessage{WindowMessageKind::destroy, 0});
        break;
    case WindowMessageKind::set_cursor:
        window_set_cursor(window, true);
        break;
    default:
        break;
    }
    return 0;
}

PlatformRect window_get_rect(WindowHandle* window) { return backend->get_rect(*window); }

void window_set_rect(WindowHandle* window, const PlatformRect& rect)
{
    if (window->exclusive)
        return;
    backend->set_rect(*window, rect);
}

PlatformRect window_client_rect(WindowHandle* window)
{
    PlatformRect r = backend->get_rect(*window);
    return PlatformRect{0, 0, r.right - r.left, r.bottom - r.top};
}

void window_client_origin(WindowHandle* window, int32_t& x, int32_t& y)
{
    PlatformRect r = backend->get_rect(*window);
    x = r.left;
    y = r.top;
}

PlatformRect window_desktop() { return backend->desktop(); }

void window_set_cursor(WindowHandle*, bool arrow)
{
    backend->set_cursor(arrow);
    cursor_shown = arrow;
}

bool window_cursor_shown() { return cursor_shown; }

void window_open_url(const char* url)
{
    std::snprintf(last_url, sizeof last_url, "%s", url);
    backend->open_url(url);
}

const char* window_last_url() { return last_url; }

void window_set_covering(WindowHandle* window, bool covering)
{
    if (!window || window->covering == covering)
        return;
    window->covering = covering;
    backend->set_covering(*window, covering);
    // The pointer's shape depends on the presentation: ask for it again,
    // as a window system does after a window changed under the pointer.
    window_post(WindowMessage{WindowMessageKind::set_cursor, 0});
}

void window_script_add(int64_t frame, int32_t key) { script.push_back({frame, key}); }

void window_script_post(int64_t frame)
{
    if (!window_is_headless())
        return;
    for (const ScriptEntry& entry : script)
        if (entry.frame == frame)
            window_post(WindowMessage{WindowMessageKind::key_down, entry.key});
}
