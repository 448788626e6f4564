// Inside the platform layer only: the window record and the backend table
// that the window service dispatches to; the display service reads and sets
// the full-screen state of the window through it.
#pragma once
#include "platform/window.h"

struct SDL_Window;

struct WindowHandle {
    SDL_Window* sdl = nullptr;      // the live backend's window
    WindowProc proc = nullptr;      // the procedure given to window_create
    PlatformRect rect{};            // headless: client area in screen coordinates
    bool exclusive = false;         // the display holds the screen for full screen
    bool covering = false;          // full screen is showing: the window covers the screen
};

// What differs between the live and the headless window.
struct WindowBackend {
    bool (*create)(WindowHandle& window, const char* title, const PlatformRect& rect);
    void (*release)(WindowHandle& window);
    void (*show)(WindowHandle& window);
    bool (*poll)(WindowMessage& message);  // next event of the backend's own source
    PlatformRect (*get_rect)(WindowHandle& window);
    void (*set_rect)(WindowHandle& window, const PlatformRect& rect);
    PlatformRect (*desktop)();
    void (*set_cursor)(bool arrow);
    void (*open_url)(const char* url);
    void (*set_covering)(WindowHandle& window, bool covering);
};

// The live window: SDL2 natively (window_sdl.cpp), the page in the browser build.
extern const WindowBackend window_live_backend;
extern const WindowBackend window_headless_backend;

// The window, or nullptr before window_create.
WindowHandle* window_main();
// Records why window_create failed.
void window_set_error(const char* text);
// The browser build only: hands control back to the page between two frames
// of a headless run (now and then, so it stays responsive and sees progress).
void window_web_yield();

// Makes the window cover the screen (full screen shown) or return to its
// place; the display service calls it when a mode is set or given up.
void window_set_covering(WindowHandle* window, bool covering);
