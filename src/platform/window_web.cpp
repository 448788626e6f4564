// The live window in the browser: the page's canvas and its keys. The page
// (vivur-page.js) passes each key press in through vivur_web_key and does
// what browsers allow only inside the key's own event: entering full screen
// (F2) and opening a tab (F8). Between two frames the production waits here
// for the browser's next animation frame, so the page draws and stays alive.
#include <emscripten.h>

#include <cstdio>

#include "platform/dialog.h"
#include "platform/window_internal.h"

namespace {

constexpr int key_queue_size = 32;
int32_t keys[key_queue_size];  // key codes pressed since the last poll, oldest first
int key_count = 0;

// Waits until the browser is about to paint again; the frame just put on
// the canvas shows then. A hidden page paints no more: the production waits
// here while the music plays on.
// A program the page has stopped (it started another) waits here for good.
EM_ASYNC_JS(void, web_next_frame, (), {
    await new Promise(resolve => { if (!Module.vivurHalted) requestAnimationFrame(resolve); });
});

// The page's area for the picture, in CSS pixels.
EM_JS(void, web_view_size, (int32_t* width, int32_t* height), {
    HEAP32[width >> 2] = Math.max(320, window.innerWidth | 0);
    HEAP32[height >> 2] = Math.max(240, window.innerHeight | 0);
});

EM_JS(void, web_set_cursor, (int arrow), {
    if (Module.vivurCanvas)
        Module.vivurCanvas.style.cursor = arrow ? "default" : "none";
});

EM_JS(void, web_open_url, (const char* url), {
    if (Module.vivurOpenUrl)
        Module.vivurOpenUrl(UTF8ToString(url));
});

EM_JS(void, web_set_full_screen, (int full), {
    if (Module.vivurSetFullScreen)
        Module.vivurSetFullScreen(!!full);
});

bool web_create(WindowHandle& window, const char*, const PlatformRect& rect)
{
    window.rect = rect;
    key_count = 0;
    // The page shows the error box.
    dialog_enable(true);
    return true;
}

void web_release(WindowHandle&) {}

void web_show(WindowHandle&) {}

bool web_poll(WindowMessage& message)
{
    if (key_count == 0)
        web_next_frame();
    if (key_count == 0)
        return false;
    message = {WindowMessageKind::key_down, keys[0]};
    for (int i = 1; i < key_count; ++i)
        keys[i - 1] = keys[i];
    --key_count;
    return true;
}

PlatformRect web_desktop()
{
    int32_t width = 0, height = 0;
    web_view_size(&width, &height);
    return PlatformRect{0, 0, width, height};
}

// The canvas is fitted by the page: the window's rectangle only keeps what
// the display asks, so the presentation's arithmetic runs as natively.
PlatformRect web_get_rect(WindowHandle& window) { return window.covering ? web_desktop() : window.rect; }

void web_set_rect(WindowHandle& window, const PlatformRect& rect) { window.rect = rect; }

void web_set_cursor_shape(bool arrow) { web_set_cursor(arrow ? 1 : 0); }

void web_open(const char* url) { web_open_url(url); }

void web_set_covering(WindowHandle&, bool covering) { web_set_full_screen(covering ? 1 : 0); }

}  // namespace

// The page's timer for headless runs: a zero-delay message, at most every
// 20 ms of real time, so a run goes as fast as the browser allows while the
// page still updates and answers.
EM_ASYNC_JS(void, web_breathe, (), {
    await new Promise(resolve => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => resolve();
        channel.port2.postMessage(0);
    });
});

EM_JS(double, web_now_ms, (), { return performance.now(); });

void window_web_yield()
{
    static double last = 0;
    double now = web_now_ms();
    if (now - last < 20)
        return;
    web_breathe();
    last = web_now_ms();
}

extern "C" EMSCRIPTEN_KEEPALIVE void vivur_web_key(int32_t code)
{
    if (key_count < key_queue_size)
        keys[key_count++] = code;
}

const WindowBackend window_live_backend = {
    web_create, web_release, web_show, web_poll, web_get_rect, web_set_rect,
    web_desktop, web_set_cursor_shape, web_open, web_set_covering,
};
