// The window service: the program's one window, its messages and keys, the
// mouse cursor and opening a URL. The display room's window procedure gets
// every message. Live runs use SDL2; headless runs a queue fed by scripts.
#pragma once
#include <cstdint>

// A rectangle in pixels; right and bottom lie just outside it.
struct PlatformRect {
    int32_t left, top, right, bottom;
};

// What a message tells the window procedure.
enum class WindowMessageKind {
    key_down,    // a key went down or repeats; key holds its virtual-key code
    paint,       // the client area needs drawing (shown, exposed, resized)
    set_cursor,  // the pointer is over the window and wants a shape
    close,       // close box, Alt+F4 or the window manager asked to close
    destroy,     // the window is going away (sent by the default handling of close)
    quit,        // the process was asked to end (signal, session end)
};

struct WindowMessage {
    WindowMessageKind kind;
    int32_t key;  // key_down only: one of the WINDOW_KEY_* codes, or 0 for keys without meaning here
};

// Virtual-key codes carried by key_down; the --keys option names them too.
enum WindowKey : int32_t {
    WINDOW_KEY_ESCAPE = 0x1B,
    WINDOW_KEY_F1 = 0x70,
    WINDOW_KEY_F2 = 0x71,
    WINDOW_KEY_F8 = 0x77,
};

struct WindowHandle;

// The window's procedure: gets every dispatched and every sent message.
using WindowProc = int64_t (*)(WindowHandle* window, const WindowMessage& message);

// Chooses the backend; called once by display_open before window_create.
void window_use_headless(bool headless);
bool window_is_headless();

// Creates the window hidden, its client area at rect (screen coordinates),
// with proc as its procedure. Returns nullptr when no window can be made
// (then window_error says why). The live backend enables the error box.
WindowHandle* window_create(const char* title, const PlatformRect& rect, WindowProc proc);
// Why the last window_create failed.
const char* window_error();
// Destroys the window and forgets queued messages and scripted keys
// (tests and tools; the production keeps its window to the end).
void window_release(WindowHandle* window);

// Shows the window.
void window_show(WindowHandle* window);
// Sends a paint message straight to the procedure (before returning).
void window_update(WindowHandle* window);

// Takes the next message without waiting; false when there is none.
bool window_peek(WindowMessage& message);
// Hands a message taken by window_peek to the window's procedure.
int64_t window_dispatch(const WindowMessage& message);
// The default handling: close sends destroy to the procedure, set_cursor
// shows the arrow; everything else is ignored. Returns 0.
int64_t window_default(WindowHandle* window, const WindowMessage& message);
// Appends a message to the queue (the platform's own notices, tests).
void window_post(const WindowMessage& message);

// The client area in screen coordinates (while it covers the screen: the screen).
PlatformRect window_get_rect(WindowHandle* window);
// Moves and sizes the client area; ignored while the display holds the
// screen in full screen (the window then covers it by itself).
void window_set_rect(WindowHandle* window, const PlatformRect& rect);
// The client area in client coordinates: (0, 0, width, height).
PlatformRect window_client_rect(WindowHandle* window);
// Screen position of the client area's top-left corner.
void window_client_origin(WindowHandle* window, int32_t& x, int32_t& y);
// The part of the desktop that windows may use.
PlatformRect window_desktop();

// Shows the arrow pointer over the window (true) or hides it (false).
void window_set_cursor(WindowHandle* window, bool arrow);
bool window_cursor_shown();

// Opens url in the user's browser; failures are ignored.
void window_open_url(const char* url);
// The URL last passed to window_open_url ("" if none).
const char* window_last_url();

// Scripted keys of headless runs: key goes down at the message pump that
// follows frame. window_script_post queues the keys due after frame.
void window_script_add(int64_t frame, int32_t key);
void window_script_post(int64_t frame);
