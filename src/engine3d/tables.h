// The 3D engine's lookup tables and sprite images, built once at start-up:
// the spot and brightening tables of the highlight rasterizer, the six glow
// images of flares and the seven 3 x 3 particle kernels.
#pragma once
#include <cstdint>

// One sprite image: width x height pixels in the frame layout, fourth byte 0.
struct FlareImage {
    int32_t width;
    int32_t height;
    uint32_t* pixels;  // allocated once, never released
};

extern bool engine_tables_ready;       // set once the tables below exist
extern float flare_size;               // 20000: numerator of the distance-dependent flare size
extern uint8_t RadialTable[65536];     // [r * 256 + c]: 255 at (128, 128), falling 2 per pixel of distance
extern uint8_t HighlightTable[65536];  // [intensity * 256 + channel]: the channel brightened by a spot intensity
extern FlareImage flare_images[13];    // 0..5: 256 x 256 glows; 6..12: 3 x 3 particle kernels

// Called by startup (and by scene_create and render_scene while the tables
// are not ready): builds the images once and the two tables on every call.
void engine_tables_init();

// The builders engine_tables_init runs.
void build_radial_table();
void build_highlight_table(double exponent);
void build_flare_images();
void build_particle_kernels();
