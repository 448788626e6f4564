// Channel tables and whole-frame blending primitives. Every effect combines
// pixels channel by channel through these tables; the 3D flares use the
// scaled additive blit and the intro uses the bilinear zoom.
#pragma once
#include <cstdint>

extern uint8_t SaturateTable[1024];   // entry i = min(i, 255): a clamped sum of two channel bytes
extern uint8_t ShadeTable[256 * 256]; // row * 256 + c: rows 0..127 scale c by row/127, rows 128..255 move it toward white

// Builds SaturateTable and ShadeTable; called once by startup.
void init_blend_tables();

// Adds s to p channel by channel through SaturateTable; p's fourth byte stays.
inline uint32_t blend_add_pixel(uint32_t p, uint32_t s)
{
    uint32_t b = SaturateTable[(p & 0xFF) + (s & 0xFF)];
    uint32_t g = SaturateTable[((p >> 8) & 0xFF) + ((s >> 8) & 0xFF)];
    uint32_t r = SaturateTable[((p >> 16) & 0xFF) + ((s >> 16) & 0xFF)];
    return (p & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

// Stores value into all frame_pixel_count pixels of frame.
void fill_buffer(uint32_t* frame, uint32_t value);

// Replaces blue, green and red of every pixel by ShadeTable row `row`.
void shade_buffer(uint32_t* frame, int32_t row);

// Adds a sw x sh source stretched to w x h onto the frame at (x, y), clipped
// to the frame (16.16 steps across, one source row per destination row).
void blit_add_scaled(int32_t x, int32_t y, int32_t w, int32_t h, int32_t sw, int32_t sh,
                     const uint32_t* source, uint32_t* frame);

// Prepares the zoom's coordinate tables; called once before the intro.
void init_zoom();

// Writes into frame a bilinear zoom of the 320 x 200 image about its centre:
// destination (i, j) samples the source at (100 + (i - 100) a, 160 + (j - 160) a).
void zoom_image(uint32_t* frame, const uint32_t* image, float a);
