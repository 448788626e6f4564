// Inside the platform layer only: the device and surface records and the
// small table of what the live and headless displays do differently.
#pragma once
#include "platform/video.h"

struct VideoDevice {
    WindowHandle* window = nullptr;  // the window shown into
    bool exclusive = false;          // full-screen cooperative level
    bool mode_set = false;           // a full-screen mode is in force
    VideoMode mode{};                // that mode
    void* renderer = nullptr;        // live backend's renderer
};

struct VideoSurface {
    int32_t width = 0, height = 0, pitch = 0;
    VideoFormat format{};
    uint8_t* pixels = nullptr;        // nullptr for the desktop (cannot be locked)
    bool primary = false;             // the visible surface
    bool attached = false;            // a back buffer, owned by its primary
    bool locked = false;
    bool lost = false;
    VideoSurface* chain[3] = {};      // primary of a flip chain: itself, then its back buffers
    int32_t chain_length = 0;
    VideoClipper* clipper = nullptr;
    void* texture = nullptr;          // live backend's copy of the picture
};

struct VideoClipper {
    WindowHandle* window = nullptr;
};

struct VideoBackend {
    bool (*create)(VideoDevice& device);
    void (*release)(VideoDevice& device);
    // Shows source of surface in destination (screen coordinates; nullptr: the whole screen).
    void (*show)(VideoDevice& device, VideoSurface& surface, const PlatformRect& source,
                 const PlatformRect* destination, bool flipped);
    // Drops what the backend keeps for a surface that is being freed.
    void (*forget)(VideoSurface& surface);
};

// The live display: SDL2 natively (video_sdl.cpp), the page's canvas in the browser build.
extern const VideoBackend video_live_backend;
extern const VideoBackend video_headless_backend;
// The presentation rules set by video_set_presentation.
extern VideoPresentation video_presentation;
