// The display device service: a cooperative level, display modes that can be
// refused, the screen's pixel format, memory surfaces with lock and pitch,
// blit and flip. Used by the presentation in src/display. Live runs show
// surfaces through SDL2; headless runs hand them to a sink.
#pragma once
#include <cstdint>

#include "platform/window.h"

// A pixel format: bits per pixel and where red, green and blue sit.
struct VideoFormat {
    int32_t bits;
    uint32_t red_mask, green_mask, blue_mask;
};

// One display mode the screen offers; width or height 0 matches any size.
struct VideoMode {
    int32_t width, height;
    int32_t bits;        // the bit count a mode request names
    VideoFormat format;  // the format the screen then has
};

struct VideoDevice;
struct VideoSurface;
struct VideoClipper;

// A locked surface: its memory, bytes from one line to the next, and size.
struct VideoLock {
    uint8_t* pixels;
    int32_t pitch;
    int32_t width, height;
};

// How a shown picture is fitted into its destination.
enum class VideoAspect { four_three, stretch, square };
struct VideoPresentation {
    VideoAspect aspect = VideoAspect::four_three;  // 4:3 keeps the picture's original shape
    bool integer_scale = false;                    // whole multiples only
    bool vsync = true;                             // presents wait for the display refresh
};

// One shown surface, as the headless backend hands it to its sink.
struct VideoShown {
    const uint8_t* pixels;
    int32_t pitch, width, height;
    VideoFormat format;
    PlatformRect source;       // the part of the surface shown
    PlatformRect destination;  // screen rectangle of a blit; the whole screen for a flip
    bool flipped;              // true for a flip, false for a blit
};

// Test switches of the headless backend, and what it counted.
struct VideoHeadless {
    int32_t max_back_buffers = 2;  // flip chains with more back buffers are refused
    int32_t lock_failures = 0;     // this many next locks fail
    int32_t primary_failures = 0;  // this many next full-screen primary surfaces are refused
    int32_t pad_pitch = 0;         // extra bytes at the end of every surface line (multiple of 4)
    int32_t pad_lines = 0;         // extra lines in the surfaces of a flip chain
    void (*sink)(const VideoShown& shown) = nullptr;  // receives every shown surface
    int32_t locks = 0, unlocks = 0, shows = 0, restores = 0;  // successful calls so far
};
extern VideoHeadless video_headless;

// The standard formats.
constexpr VideoFormat video_format_32{32, 0xFF0000, 0x00FF00, 0x0000FF};  // bytes B, G, R, X
constexpr VideoFormat video_format_24{24, 0xFF0000, 0x00FF00, 0x0000FF};  // bytes B, G, R
constexpr VideoFormat video_format_565{16, 0xF800, 0x07E0, 0x001F};
constexpr VideoFormat video_format_555{16, 0x7C00, 0x03E0, 0x001F};

// Chooses the backend; called once by display_open before video_create.
void video_use_headless(bool headless);
// Sets the fitting rules and vsync for devices created afterwards.
void video_set_presentation(const VideoPresentation& presentation);
// Sets the modes the screen offers and the desktop's format (used while
// not in full screen). At start every mode of 32, 24, 16 (5-6-5) and 15
// bits is offered, on a 32-bit desktop.
void video_offer_modes(const VideoMode* modes, int32_t count, const VideoFormat& desktop);
void video_offer_all_modes();

// Opens the device for the main window; nullptr when it cannot be opened.
VideoDevice* video_create();
// Closes the device, its surfaces and clippers, and gives the screen back.
void video_release(VideoDevice* device);
// Exclusive: full screen for window; otherwise normal, sharing the desktop
// (leaves full screen).
bool video_set_cooperative(VideoDevice* device, WindowHandle* window, bool exclusive);
// Sets a full-screen mode; false when the screen does not offer it.
bool video_set_mode(VideoDevice* device, int32_t width, int32_t height, int32_t bits);
// The screen's format: the mode's in full screen, else the desktop's.
bool video_get_mode(VideoDevice* device, VideoFormat& format);

// The visible surface: in full screen the front of a flip chain with
// back_buffers behind it (0: a single lockable surface); otherwise the desktop.
VideoSurface* video_create_primary(VideoDevice* device, int32_t back_buffers);
// The first back buffer of a flip chain; nullptr when it has none.
VideoSurface* video_get_back_buffer(VideoSurface* primary);
// An off-screen surface of width x height in the screen's format.
VideoSurface* video_create_offscreen(VideoDevice* device, int32_t width, int32_t height);
// Frees a surface; a primary frees its back buffers, a back buffer alone is kept by its primary.
void video_release_surface(VideoSurface* surface);

// A clipper keeps blits to the desktop inside a window.
VideoClipper* video_create_clipper(VideoDevice* device);
bool video_clipper_set_window(VideoClipper* clipper, WindowHandle* window);
bool video_set_clipper(VideoSurface* surface, VideoClipper* clipper);
void video_release_clipper(VideoClipper* clipper);

// A lost surface has lost its memory's meaning and must be restored.
bool video_is_lost(VideoSurface* surface);
bool video_restore(VideoSurface* surface);
// Marks every surface lost (headless tests: another program took the screen).
void video_lose_all();

bool video_lock(VideoSurface* surface, VideoLock& lock);
bool video_unlock(VideoSurface* surface);
// Shows source_rect of source in destination_rect (screen coordinates) of
// the primary destination, scaled by the fitting rules.
bool video_blit(VideoSurface* destination, const PlatformRect& destination_rect,
                VideoSurface* source, const PlatformRect& source_rect);
// Shows the first back buffer of primary's chain; the buffers rotate.
bool video_flip(VideoSurface* primary);

// Where a picture of width x height goes inside area under the rules.
PlatformRect video_fit_rect(const PlatformRect& area, int32_t width, int32_t height,
                            const VideoPresentation& presentation);
