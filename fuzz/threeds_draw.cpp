// Fuzzes the 3D pipeline behind load_3ds: the input is a whole 3DS file; a
// scene that loads is drawn the way the 3D scenes draw theirs, at 320 x 200
// (every render kind, a texture, three camera angles), so that large or
// degenerate geometry meets the rasterizers. Slower per input than
// threeds.cpp; scripts/fuzz's time limit per input makes a slow draw a finding.
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
        fuzz_scene_draw(scene, 320, 200, 3, 20000);
    return 0;
}
