// The texture-feedback scene: a 3D scene whose first object wears a shrunken,
// upside-down copy of the previous frame, under a rolling camera, with a band
// of grey text scrolling right to left over rows 150..189. Drawn by the timeline.
#pragma once
#include <cstdint>

struct Scene;

extern Scene* feedback_scene;       // "vlak.3ds"; objects 0 and 1 start with "atg7.jpg"
extern uint32_t* feedback_texture;  // 256 x 256: the last frame, flipped and point-sampled
extern uint32_t* scroll_image;      // "scroll.jpg", 2000 pixels wide; blue is the grey level
extern uint32_t* scroll_band;       // 320 x 40 grey band, rebuilt every frame
extern int32_t scroll_start_time;   // timer_ticks when the scroller starts; set by the timeline

// Loads the scene, "atg7.jpg" and "scroll.jpg", sets textures and render
// kinds and allocates the buffers; called once while preparing.
void init_feedback_scene();

// Called by the timeline every frame of the feedback step.
void draw_feedback_scene(uint32_t* frame);

// Takes the flipped 256 x 256 copy of the frame into feedback_texture; part
// of draw_feedback_scene, before the scroller is added.
void feedback_copy_frame(const uint32_t* frame);
// Builds scroll_band for elapsed = t - scroll_start_time and adds it onto
// frame rows 150..189; the last part of draw_feedback_scene.
void feedback_draw_scroller(uint32_t* frame, int32_t elapsed);
