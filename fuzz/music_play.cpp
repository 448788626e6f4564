// Fuzzes module playback: the input is a whole module, loaded by music_load
// on the offline sound device, played for three seconds of virtual time with
// the position polled every frame, then stopped with the closing pitch slide
// and fade, as a headless run does. Slower per input than music.cpp.
#include <cstdint>

#include "fuzz_music.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz_setup();
    fuzz_music_setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_music_play(data, size, 180, true);
    return 0;
}
