// Shared by the 3DS targets: an input loaded as a scene, the records the
// loader made checked, and the scene drawn the way the 3D scenes draw theirs.
#pragma once
#include <cstddef>
#include <cstdint>

struct Scene;

// Called by each 3DS target's LLVMFuzzerInitialize after fuzz_setup: fills
// the checkerboard texture the drawn faces sample.
void fuzz_scene_setup();

// Called per input: writes data to a scratch 3DS file and loads it into a
// fresh scene. False when the loader refused it (a clean fatal error). A
// scene that loads has its records checked: counts that agree with the
// arrays, face corners inside their object; a breach aborts.
bool fuzz_scene_load(const uint8_t* data, size_t size, Scene& scene);

// Called per input on a loaded scene: gives every object the texture and a
// render kind (1..9 in turn), then draws views frames into a width x height
// frame, turning the camera and the objects between views. Scenes of more
// than max_faces faces are not drawn.
void fuzz_scene_draw(Scene& scene, int32_t width, int32_t height, int views, int32_t max_faces);
