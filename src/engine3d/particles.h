// Flares and particles: additive glow sprites at lights and emitters, sized
// by distance, and particle systems whose particles fly, fall, fade and
// restart, each drawn as a small shaded sprite. render_scene drives them.
#pragma once
#include <cstdint>

#include "engine3d/scene.h"
#include "engine3d/tables.h"

// True when the system's arrays hold particle_count entries and its lifetime
// is positive; render_scene leaves other systems alone.
bool particle_system_usable(const ParticleSystem* system);

// Ages, moves and fades every particle at the current timer_ticks and
// restarts those older than the lifetime; the first call turns the stored
// birth offsets into birth times. Called by render_scene before projection.
void particle_system_update(ParticleSystem* system);

// Restarts particle i at the emitter with a random velocity and now as birth
// time. Called by particle_system_update and particle_system_create.
void particle_respawn(ParticleSystem* system, int32_t i);

// Camera-space and screen positions of the emitter and every particle.
// Called by render_scene after particle_system_update.
void particle_system_project(ParticleSystem* system, const Camera* camera);

// Draw-list handlers of render_scene for lights, emitters and particles.
void draw_light_flare(const Light* light, uint32_t* frame);
void draw_emitter_flare(const ParticleSystem* system, uint32_t* frame);
void draw_particle(const ParticleSystem* system, int32_t i, uint32_t* frame);

// Adds image (three texels wide) stretched to width x height at (x, y) onto
// frame, each texel channel first scaled by ShadeTable row shade (mod 256),
// with saturation; clipped to the frame. Called by draw_particle.
void draw_shaded_sprite(int32_t x, int32_t y, float width, float height, const FlareImage* image,
                        uint32_t* frame, int32_t shade);
