// The radial-blur sphere scene: a tumbling textured sphere on black, blurred
// in place toward the frame centre with streaks that jump on beat rows; and
// radial_blur itself, an in-place blur about any centre.
#pragma once
#include <cstdint>

struct Scene;
struct Object3D;

extern Scene* blur_scene;          // one sphere of 20 rows, radius 150, "marb2.jpg"
extern uint32_t* blur_texture;     // "marb2.jpg", 256 x 256
extern int32_t blur_columns[320];  // 8.8 distances toward the centre per column, rebuilt per call
extern int32_t blur_rows[200];     // the same per row
extern int32_t blur_start;         // timer_ticks of the last beat restart, shared by both variants

// Loads "marb2.jpg" and creates the sphere scene; called once while preparing.
void init_blur_scene();

// Called by the timeline every frame of the blur steps (a in orders 13-14,
// b in order 15); they differ only in their beat table.
void draw_blur_scene_a(uint32_t* frame);
void draw_blur_scene_b(uint32_t* frame);

// Blurs the 320 x 200 frame in place toward the centre pixel (cx, cy): each
// pixel mixes 1/16 of itself with 15/16 of a bilinear sample sx (sy) of its
// distance nearer the centre. Fractions are kept to 0..1 and the centre
// inside the frame, so samples never leave it.
void radial_blur(uint32_t* frame, int32_t cx, int32_t cy, float sx, float sy);
