// Shared set-up of the 3D engine tests: a 320 x 200 frame (with the spare
// half after it watched for stray writes), the tables, and textures whose
// texels name their own coordinates.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/frame.h"
#include "effects/blend.h"
#include "engine3d/tables.h"

// Texel (u, v) of the test texture: u in blue, v in green, 0x40 in red.
inline uint32_t texel_of(int32_t u, int32_t v)
{
    return 0x400000u | static_cast<uint32_t>(v & 255) << 8 | static_cast<uint32_t>(u & 255);
}

inline std::vector<uint32_t> coordinate_texture()
{
    std::vector<uint32_t> texture(65536);
    for (int32_t v = 0; v < 256; ++v)
        for (int32_t u = 0; u < 256; ++u)
            texture[v * 256 + u] = texel_of(u, v);
    return texture;
}

constexpr uint32_t UNTOUCHED = 0xDEADBEEF;  // what the frame holds before drawing

struct EngineTest : testing::Test {
    void SetUp() override
    {
        init_blend_tables();
        engine_tables_init();
        frame_allocate(320, 200);
        clear(UNTOUCHED);
        texture = coordinate_texture();
    }
    void TearDown() override { frame_free(); }

    // Fills the picture and the spare half behind it.
    void clear(uint32_t value)
    {
        cleared = value;
        for (int32_t i = 0; i < 2 * frame_pixel_count; ++i)
            frame_buffer[i] = value;
    }
    uint32_t at(int32_t x, int32_t y) const { return frame_buffer[y * 320 + x]; }
    // True when nothing was written behind the picture.
    bool spare_untouched() const
    {
        for (int32_t i = frame_pixel_count; i < 2 * frame_pixel_count; ++i)
            if (frame_buffer[i] != cleared)
                return false;
        return true;
    }
    // Columns written in row y, as a "first..last" list of runs.
    std::string row_runs(int32_t y) const
    {
        std::string runs;
        for (int32_t x = 0; x < 320; ++x) {
            if (at(x, y) == UNTOUCHED)
                continue;
            int32_t end = x;
            while (end + 1 < 320 && at(end + 1, y) != UNTOUCHED)
                ++end;
            if (!runs.empty())
                runs += ' ';
            runs += std::to_string(x);
            runs += "..";
            runs += std::to_string(end);
            x = end;
        }
        return runs;
    }

    std::vector<uint32_t> texture;
    uint32_t cleared = UNTOUCHED;  // the value of the last clear
};
