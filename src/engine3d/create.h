// Scene creation: empty scenes with their camera, mesh objects of a given
// size, the procedural sphere, and the lights and particle systems that the
// pipeline can draw. Used by the 3DS loader and the scenes' preparations.
#pragma once
#include <cstdint>

#include "engine3d/scene.h"

// Gives scene its camera (at (0, 0, 512) looking at the origin, roll 0,
// tracks with room for 1000 keys) and no objects, lights or particle systems;
// builds the engine tables on the first call. Called once per scene.
void scene_create(Scene* scene);

// Appends an object of face_count faces and vertex_count vertices (contents
// zeroed, for the caller to fill) with the low byte of render_kind and the
// texture, at origin 0 with identity rotation and local axes, and regrows the
// draw lists. The new object is scene->objects[scene->object_count - 1].
// Negative counts are a fatal error.
void mesh_create(Scene* scene, int32_t face_count, int32_t vertex_count, int32_t render_kind,
                 uint32_t* texture);

// Places the object's local origin in the world; scene code, between frames.
void object_set_origin(Object3D* object, float x, float y, float z);
// Sets the rotation angles (degrees about X, Y, Z) and rebuilds rotation.
void object_set_angles(Object3D* object, float ax, float ay, float az);

// Appends a sphere of n x n vertices and 2 (n - 1)^2 textured faces; the
// radial-blur scene makes one of n = 20, radius 150. n outside 2..32768 is a
// fatal error.
void make_sphere(Scene* scene, int32_t n, float radius, int32_t render_kind, uint32_t* texture);

// Appends a point light drawn as glow flare (0..5) at world position (x, y, z)
// and regrows the draw lists. Returns the new light. A flare outside 0..5 is fatal.
Light* light_create(Scene* scene, float x, float y, float z, uint8_t flare);

// Appends a particle system of particle_count particles leaving the emitter
// at position with velocities spread uniformly over +-spread/2, pulled by
// gravity, living lifetime seconds (more than 0), drawn with kernel 6 + flare
// (flare 0..6) and, when show_emitter, a flare at the emitter. Births are
// staggered evenly over one lifetime so the population is steady from the
// first frame. Regrows the draw lists; returns the system. Bad values are fatal.
ParticleSystem* particle_system_create(Scene* scene, int32_t particle_count, Vector3 position,
                                       Vector3 gravity, Vector3 spread, float lifetime,
                                       uint8_t flare, bool show_emitter);

// Makes draw_list and draw_scratch hold every item a frame can list: one per
// face, one per light, and per particle system one for the emitter and one
// per particle. Called by the creators and by build_draw_list, so the lists
// grow only when the scene has grown.
void scene_fit_draw_lists(Scene* scene);
