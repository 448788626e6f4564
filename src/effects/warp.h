// The shaded warp: a 256 x 256 texture laid over the frame at 45 degrees,
// rippled by two travelling waves and lit per pixel through ShadeTable by a
// light map with a round vignette. Drawn by the timeline under the words.
#pragma once
#include <cstdint>

extern uint32_t* warp_texture;     // "atg7.jpg", 256 x 256, index V * 256 + U
extern int32_t warp_light[64000];  // ShadeTable row 0..254 per frame pixel, built once
extern int32_t warp_wave[256];     // wave offsets, rebuilt every frame
extern int32_t warp_gain[256];     // wave strength per light value, rebuilt every frame

// Loads "atg7.jpg" and "mulmap.jpg" and builds the light map; called once while preparing.
void init_warp_scene();

// Builds warp_light from the red channel of a 320 x 200 picture; used by
// init_warp_scene and by tests.
void warp_build_light(const uint32_t* map);

// Called by the timeline every frame of the warp steps; writes every pixel.
void draw_warp_scene(uint32_t* frame);
