// Presentation of the frame: opens the window and the display device, keeps
// the screen's pixel format, converts every frame into it and flips or blits
// it, then polls the music and pumps the window's messages. The timeline
// calls display_open once and present_frame once per frame.
#pragma once
#include <cstdint>

#include "display/pixel_format.h"
#include "platform/video.h"

extern uint32_t* shown_frame;  // the frame given to the latest present_frame; screenshots save it
extern bool fullscreen;        // true for full screen; written only through this unit's calls

// Display objects, each nullptr until created.
extern VideoDevice* dd;                  // the display device
extern VideoSurface* primary_surface;    // full screen: front of the flip chain; windowed: the desktop
extern VideoSurface* back_buffer;        // full screen: first back buffer of the chain
extern VideoSurface* offscreen_surface;  // mode size (full screen) or frame size (windowed)
extern VideoClipper* clipper;            // windowed: keeps blits inside the window

// Presentation state.
extern bool flip_mode;          // frames go to back_buffer and are flipped; starts true
extern bool blit_mode;          // frames go to offscreen_surface and are blitted; starts false
extern int32_t pixel_depth;     // 32, 24, 16, 15, or a PIXEL_DEPTH_DOUBLED_* code
extern int32_t pixel_layout;    // a PixelLayout
extern int32_t surface_pitch;   // bytes per line of the surface as the last lock reported
extern PlatformRect window_rect;  // the window's place, kept while full screen lasts
extern PlatformRect client_rect;  // client area in client coordinates, refreshed by window_proc
extern PlatformRect screen_rect;  // (0, 0, mode width, mode height)

// Creates window, display and frame, and presents one black frame. Called
// once by the timeline; false when no window or display device can be had.
bool display_open(int32_t width, int32_t height, bool windowed);
// Why display_open failed, for the timeline's error message.
const char* display_error();
// Shows frame, polls the music, then handles window messages; a quit
// message ends the production. Called once per frame by the timeline.
void present_frame(uint32_t* frame);
// Called by startup: full screen or a window for display_open to open.
void display_set_fullscreen(bool full);
// Called by the window procedure on F2 and F8: switches to full screen
// (true) or to the window (false) and rebuilds the display objects; nothing
// happens when that presentation already shows.
void display_switch(bool full);
// Releases and recreates the display objects for the current fullscreen
// value. Called by display_switch.
void rebuild_display();
// Releases the display objects. Called by release_all and rebuild_display.
void release_display();

// The steps of display_open and present_frame (tests drive them one by one).
// Opens the device with the cooperative level for fullscreen.
bool dd_create();
// Sets full screen or windowed and tries the modes in order: 32, 24 and 16
// bits at the frame's size, then twice the size in 16 and 15 bits.
bool set_mode(int32_t width, int32_t height, bool windowed);
// Makes the surfaces for one try of set_mode and reads the screen's format.
bool create_surfaces(int32_t width, int32_t height, int32_t depth);
// Converts frame into the target surface and shows it; a failed lock skips it.
void convert_frame(const uint32_t* frame);
// Locks the surface frames go to; pixels is nullptr on failure.
VideoLock lock_target();
void unlock_target();
// Blits or flips the converted frame onto the screen.
void show_surface();
// The screen modes a forced --depth code leaves on offer (0 leaves all).
void display_offer_depth(int32_t code, int32_t width, int32_t height);
