// A headless display for the display tests: the sink keeps a copy of the
// last shown surface, and every switch starts from its default.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/display.h"
#include "core/frame.h"
#include "display/window.h"
#include "platform/video.h"
#include "platform/window.h"
#include "runtime/options.h"
#include "runtime/pacing.h"
#include "support/support.h"

// The last surface the sink received, copied.
struct ShownCopy {
    std::vector<uint8_t> bytes;
    VideoShown shown{};
    int count = 0;
};
extern ShownCopy last_shown;

class HeadlessDisplay : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Opens 320 x 200 headless, full screen or windowed, with the modes offered.
    bool open(bool windowed);
    // Sends a key through the queue and presents one frame, so it is handled.
    void press(int32_t key);
    // Fills frame_buffer with the asymmetric test picture.
    void draw_picture();
    std::string dir;
};

// Pixel (x, y) of the asymmetric test picture: red grows to the right,
// green downward, blue to the left; the fourth byte is 0x5A.
uint32_t picture_pixel(int32_t x, int32_t y);
