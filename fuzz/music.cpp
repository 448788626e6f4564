// Fuzzes the module load, fast: the input is a whole module, loaded by
// music_load on the offline sound device and played for a tenth of a second
// of virtual time with the position polled every frame, then freed at once.
// music_play.cpp plays longer and closes with the slide and fade.
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
    fuzz_music_play(data, size, 6, false);
    return 0;
}
