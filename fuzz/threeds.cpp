// Fuzzes load_3ds with its keyframer block, fast: the input is a whole 3DS
// file, loaded into a fresh scene and its records checked; a scene that loads
// is drawn once into a small frame, so that what the loader let through meets
// the pipeline and the rasterizers at little cost. threeds_draw.cpp draws
// bigger scenes at the production's size.
#include <cstdint>

#include "engine3d/scene.h"
#include "fuzz_scene.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz_setup();
    fuzz_scene_setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Scene scene;
    if (fuzz_scene_load(data, size, scene))
        fuzz_scene_draw(scene, 64, 40, 1, 2000);
    return 0;
}
