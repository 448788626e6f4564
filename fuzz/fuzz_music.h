// Shared by the module targets: an input loaded by music_load on the offline
// sound device and played on the virtual clock, as a headless run plays.
#pragma once
#include <cstddef>
#include <cstdint>

// Called by each module target's LLVMFuzzerInitialize after fuzz_setup.
void fuzz_music_setup();

// Called per input: writes data to a scratch module file, loads and starts
// it, polls the position once per frame of 60 Hz virtual time for frames
// frames, then stops it: with the closing pitch slide and one-second fade
// when closing is set, at once otherwise.
void fuzz_music_play(const uint8_t* data, size_t size, int frames, bool closing);
