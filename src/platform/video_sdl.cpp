// The live display over SDL2: a renderer on the main window, one streaming
// texture per shown surface in the surface's own format, drawn with the
// fitting rules and nearest-neighbour scaling on a black background.
#include <SDL.h>

#include "platform/video_internal.h"
#include "platform/window_internal.h"

namespace {

// The SDL texture format holding a surface's bytes unchanged.
Uint32 sdl_format(const VideoFormat& f)
{
    if (f.bits == 32)
        return SDL_PIXELFORMAT_ARGB8888;  // the fourth byte is ignored: no blending
    if (f.bits == 24)
        return SDL_PIXELFORMAT_BGR24;     // bytes blue, green, red
    if (f.bits == 16 && f.red_mask == 0xF800 && f.green_mask == 0x07E0 && f.blue_mask == 0x001F)
        return SDL_PIXELFORMAT_RGB565;
    if (f.bits == 16 && f.red_mask == 0x7C00 && f.green_mask == 0x03E0 && f.blue_mask == 0x001F)
        return SDL_PIXELFORMAT_RGB555;
    return SDL_MasksToPixelFormatEnum(f.bits, f.red_mask, f.green_mask, f.blue_mask, 0);
}

bool sdl_create(VideoDevice& device)
{
    if (!device.window->sdl)
        return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    Uint32 flags = video_presentation.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    SDL_Renderer* renderer = SDL_CreateRenderer(device.window->sdl, -1, flags);
    if (!renderer)
        renderer = SDL_CreateRenderer(device.window->sdl, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) {
        window_set_error(SDL_GetError());
        return false;
    }
    device.renderer = renderer;
    return true;
}

void sdl_release(VideoDevice& device)
{
    if (device.renderer)
        SDL_DestroyRenderer(static_cast<SDL_Renderer*>(device.renderer));
    device.renderer = nullptr;
}

void sdl_show(VideoDevice& device, VideoSurface& surface, const PlatformRect& source,
              const PlatformRect* destination, bool)
{
    auto* renderer = static_cast<SDL_Renderer*>(device.renderer);
    if (!renderer)
        return;
    if (!surface.texture) {
        SDL_Texture* texture = SDL_CreateTexture(renderer, sdl_format(surface.format),
                                                 SDL_TEXTUREACCESS_STREAMING, surface.width, surface.height);
        if (!texture)
            return;
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
        surface.texture = texture;
    }
    auto* texture = static_cast<SDL_Texture*>(surface.texture);
    SDL_UpdateTexture(texture, nullptr, surface.pixels, surface.pitch);

    // The area to fill, in renderer pixels: the whole window in full screen,
    // else the destination moved from screen to window coordinates.
    int out_w = 0, out_h = 0, win_w = 1, win_h = 1;
    SDL_GetRendererOutputSize(renderer, &out_w, &out_h);
    PlatformRect area{0, 0, out_w, out_h};
    WindowHandle* window = device.window;
    if (destination && !window->covering) {
        int win_x = 0, win_y = 0;
        SDL_GetWindowPosition(window->sdl, &win_x, &win_y);
        SDL_GetWindowSize(window->sdl, &win_w, &win_h);
        if (win_w > 0 && win_h > 0)
            area = PlatformRect{(destination->left - win_x) * out_w / win_w,
                                (destination->top - win_y) * out_h / win_h,
                                (destination->right - win_x) * out_w / win_w,
                                (destination->bottom - win_y) * out_h / win_h};
    }
    int32_t width = source.right - source.left, height = source.bottom - source.top;
    PlatformRect fit = video_fit_rect(area, width, height, video_presentation);
    SDL_Rect from{source.left, source.top, width, height};
    SDL_Rect to{fit.left, fit.top, fit.right - fit.left, fit.bottom - fit.top};
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, &from, &to);
    SDL_RenderPresent(renderer);
}

void sdl_forget(VideoSurface& surface)
{
    if (surface.texture)
        SDL_DestroyTexture(static_cast<SDL_Texture*>(surface.texture));
    surface.texture = nullptr;
}

}  // namespace

const VideoBackend video_live_backend = {sdl_create, sdl_release, sdl_show, sdl_forget};
