// The live backends on SDL's dummy video driver:
// the same presentation code with a real SDL window and renderer.
#include "display_fixture.h"
#include "platform/dialog.h"

namespace {

class LiveDisplay : public HeadlessDisplay {
protected:
    void SetUp() override
    {
        HeadlessDisplay::SetUp();
        window_use_headless(false);
        video_use_headless(false);
        // Never a real window: SDL's dummy driver unless the runner names another.
        support_setenv("SDL_VIDEODRIVER", "dummy", false);
    }
    void TearDown() override
    {
        HeadlessDisplay::TearDown();
        window_use_headless(true);
        video_use_headless(true);
        dialog_enable(false);
    }
};

TEST_F(LiveDisplay, WindowedFramesF2TwiceAndEscape)
{
    ASSERT_TRUE(open(true)) << display_error();
    EXPECT_FALSE(window_is_headless());
    EXPECT_TRUE(blit_mode);
    EXPECT_EQ(pixel_depth, 32);
    PlatformRect before = window_get_rect(main_window);
    EXPECT_EQ(before.right - before.left, 640);  // the dummy desktop is 1024 x 768
    EXPECT_EQ(before.bottom - before.top, 480);
    int shows = video_headless.shows;
    draw_picture();
    present_frame(frame_buffer);
    EXPECT_EQ(video_headless.shows, shows + 1);

    press(WINDOW_KEY_F2);
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(flip_mode);
    press(WINDOW_KEY_F2);
    EXPECT_FALSE(fullscreen);
    PlatformRect after = window_get_rect(main_window);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);

    window_post(WindowMessage{WindowMessageKind::key_down, WINDOW_KEY_ESCAPE});
    try {
        present_frame(frame_buffer);
        ADD_FAILURE() << "Escape did not end the run";
    } catch (const ProcessExited& e) {
        EXPECT_EQ(e.code, 1);
    }
}

TEST_F(LiveDisplay, EveryDepthCodeOpensInFullScreen)
{
    for (int32_t code : {32, 24, 16, 15, 216, 215}) {
        SCOPED_TRACE(code);
        SetUp();
        display_offer_depth(code, 320, 200);
        ASSERT_TRUE(open(false)) << display_error();
        EXPECT_EQ(pixel_depth, code);
        int shows = video_headless.shows;
        present_frame(frame_buffer);
        EXPECT_EQ(video_headless.shows, shows + 1);
        TearDown();
    }
}

}  // namespace
