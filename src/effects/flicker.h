// The flicker scene: two full-frame backgrounds switched by the music's rows,
// and a glowing overlay added on the right-hand 120 columns with a brightness
// that flickers randomly from frame to frame. Drawn by the timeline.
#pragma once
#include <cstdint>

extern uint32_t* flicker_images[2];  // backgrounds: 0 "norm.jpg", 1 "norm2.jpg"
extern uint32_t* flicker_overlay;    // "heet.jpg"; pixels that are entirely zero are transparent
extern uint32_t* flicker_work;       // 64000-pixel work frame for the shaded overlay

// Loads "norm.jpg", "norm2.jpg" and "heet.jpg" and allocates the work frame;
// called once while preparing.
void init_flicker_scene();

// Called by the timeline every frame of the flicker step; draws into
// frame_buffer and takes one number from random_next.
void draw_flicker_scene();
