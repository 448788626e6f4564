// The render pipeline, the top of the 3D engine: each object's view matrix,
// transform and projection, normals and environment coordinates, culling by
// render kind, the radix-sorted draw list and its dispatch to the rasterizers
// and sprite drawers. Scene code calls render_scene once a frame and moves
// cameras and objects (transform.h) between frames.
#pragma once
#include <cstdint>

#include "engine3d/scene.h"
#include "engine3d/transform.h"  // the camera and object setters scene code calls between frames

// Draws scene into frame (nothing is cleared first). Called once a frame by
// the 3D scenes; writes only inside the frame whatever the scene holds.
void render_scene(Scene* scene, uint32_t* frame);

// Per-frame steps of render_scene, in the order it runs them.
void object_update(Object3D* object, const Camera* camera);
void object_view_origin(Object3D* object, const Camera* camera);
void object_project(Object3D* object);
void object_compute_normals(Object3D* object);
void object_rotate_normals(Object3D* object);
void object_env_mapping(Object3D* object);
void light_update(Light* light, const Camera* camera);
// Lists the visible faces, flares and particles, then sorts them far to near.
void build_draw_list(Scene* scene);
// Four stable byte passes: draw_list -> scratch -> list -> scratch -> list.
void sort_draw_list(Scene* scene);
// One stable counting pass on the byte of depth at shift.
void radix_pass(int32_t shift, int32_t count, const DrawItem* source, DrawItem* destination);
