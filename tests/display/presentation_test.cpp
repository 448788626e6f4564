// Presentation through the headless display: the mode fall-back order, the
// depth codes and mask rules, every conversion path end to end, locks.
#include <cstring>

#include "display_fixture.h"

namespace {

uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct FallBackCase {
    const char* name;
    std::vector<VideoMode> offered;
    int32_t max_back_buffers;
    bool opened;             // set_mode found a mode
    int32_t depth, layout;   // pixel_depth and pixel_layout afterwards
    int32_t surface_width;   // width of the shown surface
};

TEST_F(HeadlessDisplay, FallBackOrderThroughRefusals)
{
    const VideoFormat bgr565{16, 0x001F, 0x07E0, 0xF800};  // masks sum to 0xFFFF, no known layout
    const FallBackCase cases[] = {
        {"everything", {}, 2, true, 32, 0, 320},
        {"24 only", {{0, 0, 24, video_format_24}}, 2, true, 24, 0, 320},
        {"16 as 5-6-5", {{320, 200, 16, video_format_565}}, 2, true, 16, 2, 320},
        {"16 as 5-5-5", {{320, 200, 16, video_format_555}}, 2, true, 15, 1, 320},
        {"16 with other masks", {{320, 200, 16, bgr565}}, 2, true, 16, 0, 320},
        {"doubled 16", {{640, 400, 16, video_format_565}}, 2, true, 216, 2, 640},
        {"doubled 15", {{640, 400, 15, video_format_555}}, 2, true, 215, 1, 640},
        {"doubled 16 with 5-5-5 masks", {{640, 400, 16, video_format_555}}, 2, true, 216, 1, 640},
        {"one back buffer", {}, 1, true, 32, 0, 320},
        {"no back buffer at all", {}, 0, false, 16, 0, 0},
        {"nothing", {{321, 200, 32, video_format_32}}, 2, false, 16, 0, 0},
    };
    for (const FallBackCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (!c.offered.empty())
            video_offer_modes(c.offered.data(), static_cast<int32_t>(c.offered.size()), video_format_32);
        video_headless.max_back_buffers = c.max_back_buffers;
        ASSERT_TRUE(open(false));
        EXPECT_TRUE(fullscreen);
        EXPECT_EQ(pixel_depth, c.depth);
        EXPECT_EQ(pixel_layout, c.layout);
        if (c.opened) {
            EXPECT_TRUE(flip_mode);
            EXPECT_FALSE(blit_mode);
            ASSERT_EQ(last_shown.count, 1);  // display_open's black frame
            EXPECT_TRUE(last_shown.shown.flipped);
            EXPECT_EQ(last_shown.shown.width, c.surface_width);
            // A second try of set_mode gives the same answer.
            EXPECT_TRUE(set_mode(320, 200, false));
        } else {
            EXPECT_EQ(last_shown.count, 0);  // frames are not shown, the run goes on
            present_frame(frame_buffer);
            EXPECT_EQ(last_shown.count, 0);
            EXPECT_FALSE(set_mode(320, 200, false));
        }
        TearDown();
    }
}

TEST_F(HeadlessDisplay, DepthCodesForceOnePath)
{
    const struct {
        int32_t code, depth, layout, bits, width;
    } cases[] = {
        {32, 32, 0, 32, 320}, {24, 24, 0, 24, 320}, {16, 16, 2, 16, 320},
        {15, 15, 1, 16, 320}, {216, 216, 2, 16, 640}, {215, 215, 1, 16, 640},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        SetUp();
        display_offer_depth(c.code, 320, 200);
        ASSERT_TRUE(open(false));
        EXPECT_EQ(pixel_depth, c.depth);
        EXPECT_EQ(pixel_layout, c.layout);
        ASSERT_EQ(last_shown.count, 1);
        EXPECT_EQ(last_shown.shown.format.bits, c.bits);
        EXPECT_EQ(last_shown.shown.width, c.width);
        TearDown();
    }
}

TEST_F(HeadlessDisplay, ThirtyTwoBitsCopyEveryByteIncludingTheFourth)
{
    ASSERT_TRUE(open(false));
    draw_picture();
    present_frame(frame_buffer);
    ASSERT_EQ(pixel_depth, 32);
    const VideoShown& s = last_shown.shown;
    for (int32_t y : {0, 1, 100, 199})
        for (int32_t x : {0, 1, 160, 319}) {
            uint32_t got;
            std::memcpy(&got, s.pixels + y * s.pitch + 4 * x, 4);
            EXPECT_EQ(got, picture_pixel(x, y)) << x << "," << y;
        }
}

TEST_F(HeadlessDisplay, EveryPathConvertsThePictureWithinItsLines)
{
    // Lines longer than the picture: the padding must stay untouched.
    for (int32_t code : {24, 16, 15}) {
        SCOPED_TRACE(code);
        SetUp();
        video_headless.pad_pitch = 12;
        display_offer_depth(code, 320, 200);
        ASSERT_TRUE(open(false));
        draw_picture();
        present_frame(frame_buffer);
        const VideoShown& s = last_shown.shown;
        int32_t bytes = code == 24 ? 3 : 2;
        ASSERT_EQ(s.pitch, 320 * bytes + 12);
        for (int32_t y = 0; y < 200; ++y) {
            const uint8_t* line = s.pixels + y * s.pitch;
            for (int32_t x = 0; x < 320; ++x) {
                uint32_t p = picture_pixel(x, y);
                uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
                const uint8_t* q = line + x * bytes;
                if (code == 24) {
                    ASSERT_EQ(q[0], b);
                    ASSERT_EQ(q[1], g);
                    ASSERT_EQ(q[2], r);
                } else if (code == 16) {
                    ASSERT_EQ(read16(q), (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)) << x << "," << y;
                } else {
                    ASSERT_EQ(read16(q), (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)) << x << "," << y;
                }
            }
            for (int32_t i = 320 * bytes; i < s.pitch; ++i)
                ASSERT_EQ(line[i], 0) << "padding of line " << y;
        }
        TearDown();
    }
}

TEST_F(HeadlessDisplay, DoubledModesClearBandsAndCentreThePicture)
{
    // A 640 x 480 surface for a 640 x 400 picture: 40 black lines above and below.
    video_headless.pad_lines = 80;
    display_offer_depth(215, 320, 200);
    ASSERT_TRUE(open(false));
    ASSERT_EQ(pixel_depth, 215);
    // Dirty the back buffer, so the bands must be cleared by the conversion.
    VideoLock lock;
    ASSERT_TRUE(video_lock(back_buffer, lock));
    ASSERT_EQ(lock.height, 480);
    ASSERT_EQ(lock.pitch, 1280);
    std::memset(lock.pixels, 0xFF, static_cast<size_t>(lock.pitch) * lock.height);
    video_unlock(back_buffer);

    draw_picture();
    present_frame(frame_buffer);
    const VideoShown& s = last_shown.shown;
    ASSERT_EQ(s.height, 480);
    for (int32_t line : {0, 39, 440, 479})
        for (int32_t i = 0; i < 1280; ++i)
            ASSERT_EQ(s.pixels[line * 1280 + i], 0) << "band line " << line;
    for (int32_t y : {0, 1, 123, 199})
        for (int32_t x : {0, 7, 318, 319}) {
            uint32_t p = picture_pixel(x, y);
            uint16_t want = static_cast<uint16_t>(((p >> 19) & 0x1F) << 10 | ((p >> 11) & 0x1F) << 5 | ((p >> 3) & 0x1F));
            for (int32_t dy = 0; dy < 2; ++dy)
                for (int32_t dx = 0; dx < 2; ++dx)
                    ASSERT_EQ(read16(s.pixels + (40 + 2 * y + dy) * 1280 + (2 * x + dx) * 2), want)
                        << x << "," << y;
        }
}

TEST_F(HeadlessDisplay, AFailedLockSkipsTheFrameAndALostSurfaceIsRestored)
{
    ASSERT_TRUE(open(false));
    int shown = last_shown.count, unlocks = video_headless.unlocks;
    video_headless.lock_failures = 1;
    present_frame(frame_buffer);
    EXPECT_EQ(last_shown.count, shown);
    EXPECT_EQ(video_headless.unlocks, unlocks);
    present_frame(frame_buffer);
    EXPECT_EQ(last_shown.count, shown + 1);

    video_lose_all();
    present_frame(frame_buffer);
    EXPECT_GE(video_headless.restores, 1);
    EXPECT_EQ(last_shown.count, shown + 2);
}

TEST_F(HeadlessDisplay, WindowedBlitsTheFrameIntoTheClientAreaInTheDesktopFormat)
{
    const VideoMode none[] = {{1, 1, 8, {8, 0, 0, 0}}};
    video_offer_modes(none, 1, video_format_565);
    ASSERT_TRUE(open(true));
    EXPECT_FALSE(fullscreen);
    EXPECT_TRUE(blit_mode);
    EXPECT_FALSE(flip_mode);
    EXPECT_EQ(pixel_depth, 16);
    EXPECT_EQ(pixel_layout, 2);
    // The headless desktop is 1024 x 768: the window is 2 x (320 x 240), centred.
    PlatformRect r = window_get_rect(main_window);
    EXPECT_EQ(r.left, 192);
    EXPECT_EQ(r.top, 144);
    EXPECT_EQ(r.right, 832);
    EXPECT_EQ(r.bottom, 624);
    ASSERT_EQ(last_shown.count, 1);
    EXPECT_FALSE(last_shown.shown.flipped);
    EXPECT_EQ(last_shown.shown.width, 320);
    EXPECT_EQ(last_shown.shown.destination.left, 192);
    EXPECT_EQ(last_shown.shown.destination.bottom, 624);

    // Resizing reaches the picture after the next message that refreshes client_rect.
    window_set_rect(main_window, PlatformRect{10, 20, 410, 320});
    present_frame(frame_buffer);
    EXPECT_EQ(last_shown.shown.destination.left, 10);       // the window moved ...
    EXPECT_EQ(last_shown.shown.destination.right, 10 + 640);  // ... client_rect is still the old one
    window_post(WindowMessage{WindowMessageKind::paint, 0});
    present_frame(frame_buffer);  // the paint is handled after this frame
    present_frame(frame_buffer);
    EXPECT_EQ(last_shown.shown.destination.left, 10);
    EXPECT_EQ(last_shown.shown.destination.top, 20);
    EXPECT_EQ(last_shown.shown.destination.right, 410);
    EXPECT_EQ(last_shown.shown.destination.bottom, 320);
}

}  // namespace
