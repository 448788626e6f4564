// Test modules for the music tests, written with the S3M writer: two
// channels, speed 2 and tempo 200, so a tick lasts 2.5 / 200 s = 12.5 ms and a
// row 25 ms; a looped square wave starts on channel 0 at row 0 of every pattern.
#pragma once
#include <string>
#include <vector>

#include "s3m_writer.h"

inline S3mModule music_test_module(std::vector<uint8_t> orders, int pattern_count)
{
    S3mModule module;
    module.name = "music test";
    module.channel_count = 2;
    module.initial_speed = 2;
    module.initial_tempo = 200;
    module.orders = std::move(orders);
    S3mSample square;
    square.name = "square";
    for (int i = 0; i < 64; ++i)
        square.data.push_back(static_cast<int8_t>(i < 32 ? 100 : -100));
    square.loop = true;
    square.loop_start = 0;
    square.loop_end = 64;
    module.samples.push_back(square);
    module.patterns.resize(pattern_count);
    for (S3mPattern& pattern : module.patterns)
        pattern.cells[0][0] = s3m_cell(s3m_note(4, 0), 1, 64);
    return module;
}

// Puts an effect on channel 1 of a pattern's row.
inline void music_test_effect(S3mModule& module, int pattern, int row, char letter, uint8_t parameter)
{
    module.patterns[pattern].cells[row][1] = s3m_cell(S3M_NO_NOTE, 0, S3M_NO_VOLUME, s3m_effect(letter), parameter);
}

// Writes module to path (fails the test on a writer error).
inline void music_test_save(const S3mModule& module, const std::string& path)
{
    std::string error;
    if (!s3m_save(module, path, error))
        throw std::runtime_error(error);
}
