// The live window over SDL2: SDL events become window messages. SDL turns
// SIGINT and SIGTERM into its quit event, which arrives here as quit.
#include <SDL.h>

#include "platform/dialog.h"
#include "platform/window_internal.h"

namespace {

SDL_Cursor* arrow_cursor = nullptr;  // the class's arrow, made once
bool invisible_driver = false;       // SDL runs on its dummy or offscreen driver

// Starts SDL's video (and event) subsystem once; false when there is no display.
bool sdl_video_ready()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // With no display named and no driver asked for, say so at once: probing
    // the drivers would only print the display libraries' own complaints.
    const char* named = SDL_getenv("SDL_VIDEODRIVER");
    if (!(named && *named) && !SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY")) {
        window_set_error("no display found");
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        window_set_error(SDL_GetError());
        return false;
    }
    // Without a display SDL falls back to its invisible drivers by itself;
    // they count only when asked for by name (tests use the dummy driver).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    invisible_driver = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (invisible_driver && !(asked && *asked)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        window_set_error("no display found");
        return false;
    }
    return true;
}

// The virtual-key code of an SDL key; 0 for keys without meaning here.
int32_t sdl_key_code(SDL_Keycode sym)
{
    if (sym == SDLK_ESCAPE)
        return WINDOW_KEY_ESCAPE;
    if (sym >= SDLK_F1 && sym <= SDLK_F12)
        return WINDOW_KEY_F1 + (sym - SDLK_F1);
    if (sym >= SDLK_a && sym <= SDLK_z)
        return 'A' + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9)
        return '0' + (sym - SDLK_0);
    if (sym == SDLK_RETURN || sym == SDLK_SPACE)
        return sym;
    return 0;
}

bool sdl_create(WindowHandle& window, const char* title, const PlatformRect& rect)
{
    if (!sdl_video_ready())
        return false;
    window.sdl = SDL_CreateWindow(title, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!window.sdl) {
        window_set_error(SDL_GetError());
        return false;
    }
    if (!arrow_cursor)
        arrow_cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    // Error boxes only where someone can see them.
    dialog_enable(!invisible_driver);
    return true;
}

void sdl_release(WindowHandle& window)
{
    if (window.sdl)
        SDL_DestroyWindow(window.sdl);
    window.sdl = nullptr;
}

void sdl_show(WindowHandle& window) { SDL_ShowWindow(window.sdl); }

bool sdl_poll(WindowMessage& message)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            message = {WindowMessageKind::quit, 0};
            return true;
        case SDL_KEYDOWN:
            message = {WindowMessageKind::key_down, sdl_key_code(event.key.keysym.sym)};
            return true;
        case SDL_MOUSEMOTION:
            message = {WindowMessageKind::set_cursor, 0};
            return true;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                message = {WindowMessageKind::paint, 0};
                return true;
            case SDL_WINDOWEVENT_SHOWN:
            case SDL_WINDOWEVENT_ENTER:
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                message = {WindowMessageKind::set_cursor, 0};
                return true;
            case SDL_WINDOWEVENT_CLOSE:
                message = {WindowMessageKind::close, 0};
                return true;
            default:
                break;
            }
            break;
        default:
            break;
        }
    }
    return false;
}

PlatformRect sdl_get_rect(WindowHandle& window)
{
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window.sdl, &x, &y);
    SDL_GetWindowSize(window.sdl, &w, &h);
    return PlatformRect{x, y, x + w, y + h};
}

void sdl_set_rect(WindowHandle& window, const PlatformRect& rect)
{
    SDL_SetWindowSize(window.sdl, rect.right - rect.left, rect.bottom - rect.top);
    SDL_SetWindowPosition(window.sdl, rect.left, rect.top);
}

PlatformRect sdl_desktop()
{
    SDL_Rect r{0, 0, 1024, 768};
    if (sdl_video_ready())
        SDL_GetDisplayUsableBounds(0, &r);
    return PlatformRect{r.x, r.y, r.x + r.w, r.y + r.h};
}

void sdl_set_cursor(bool arrow)
{
    if (arrow && arrow_cursor)
        SDL_SetCursor(arrow_cursor);
    SDL_ShowCursor(arrow ? SDL_ENABLE : SDL_DISABLE);
}

void sdl_open_url(const char* url) { SDL_OpenURL(url); }

// Full screen is a borderless window over the whole desktop: the monitor's
// real mode never changes.
void sdl_set_covering(WindowHandle& window, bool covering)
{
    SDL_SetWindowFullscreen(window.sdl, covering ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

}  // namespace

const WindowBackend window_live_backend = {
    sdl_create, sdl_release, sdl_show, sdl_poll, sdl_get_rect, sdl_set_rect,
    sdl_desktop, sdl_set_cursor, sdl_open_url, sdl_set_covering,
};
