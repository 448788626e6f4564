// The pulsing object scene: a textured 3D scene whose first object swells to
// twice its size on beat rows and shrinks back within a quarter second while
// the camera circles. Drawn by the timeline in two variants.
#pragma once
#include <cstdint>

#include "engine3d/scene.h"

extern Scene* pulse_scene;              // "19.3ds", the one drawn
extern Scene* pulse_reference;          // "19.3ds" again, never drawn: object 0's unscaled vertices
extern uint32_t* pulse_textures[2];     // "zwart.jpg" for object 0, "mooier.jpg" for object 1
extern Vector3 pulse_camera_origin;     // the camera position as loaded
extern int32_t pulse_start;             // timer_ticks of the last restart, shared by both variants

// Loads both copies of the scene and the two textures; called once while preparing.
void init_pulse_scene();

// Called by the timeline every frame of the pulse steps: variant a in orders
// 8-9 restarts on table values 1 and 2, variant b in order 10 only on 1.
void draw_pulse_scene_a(uint32_t* frame);
void draw_pulse_scene_b(uint32_t* frame);
