// The window procedure and the pump: keys, the quit paths, the cursor rule,
// F2 and F8 switching presentations, scripted keys.
#include <csignal>

#include "display_fixture.h"
#include "runtime/screenshot.h"

namespace {

bool same_rect(const PlatformRect& a, const PlatformRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Posts message, presents a frame and returns the exit code it ended with (-1: none).
int exit_code_after(const WindowMessage& message)
{
    window_post(message);
    try {
        present_frame(frame_buffer);
    } catch (const ProcessExited& e) {
        return e.code;
    }
    return -1;
}

TEST_F(HeadlessDisplay, F2TwiceReturnsToTheWindowAndItsPlace)
{
    // 32 and 24 bits are refused; the 16-bit mode is set but gets no chain,
    // which leaves the window covering the screen for the doubled try.
    const VideoMode modes[] = {{320, 200, 16, video_format_565}, {640, 400, 16, video_format_565}};
    video_offer_modes(modes, 2, video_format_565);
    ASSERT_TRUE(open(true));
    PlatformRect before = window_get_rect(main_window);
    video_headless.primary_failures = 3;

    press(WINDOW_KEY_F2);
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(flip_mode);
    EXPECT_EQ(pixel_depth, 216);  // the 16-bit try lost its chain; the doubled one took over
    EXPECT_TRUE(same_rect(window_get_rect(main_window), PlatformRect{0, 0, 1024, 768}));

    press(WINDOW_KEY_F2);
    EXPECT_FALSE(fullscreen);
    EXPECT_TRUE(blit_mode);
    EXPECT_EQ(pixel_depth, 16);
    EXPECT_TRUE(same_rect(window_rect, before));
    EXPECT_TRUE(same_rect(window_get_rect(main_window), before));
    EXPECT_TRUE(same_rect(client_rect, PlatformRect{0, 0, before.right - before.left, before.bottom - before.top}));
}

TEST_F(HeadlessDisplay, CursorIsHiddenInFullScreenAndAnArrowInTheWindow)
{
    ASSERT_TRUE(open(false));
    window_set_cursor(main_window, true);
    window_post(WindowMessage{WindowMessageKind::set_cursor, 0});
    present_frame(frame_buffer);
    EXPECT_FALSE(window_cursor_shown());

    press(WINDOW_KEY_F2);  // to the window; the switch asks for the pointer again
    present_frame(frame_buffer);
    EXPECT_TRUE(window_cursor_shown());
    window_post(WindowMessage{WindowMessageKind::set_cursor, 0});
    present_frame(frame_buffer);
    EXPECT_TRUE(window_cursor_shown());
}

TEST_F(HeadlessDisplay, F8LeavesFullScreenThenOpensTheSite)
{
    ASSERT_TRUE(open(false));
    press(WINDOW_KEY_F8);
    EXPECT_FALSE(fullscreen);
    EXPECT_TRUE(blit_mode);
    EXPECT_STRNE(window_last_url(), "");
    std::string url = window_last_url();

    press(WINDOW_KEY_F8);  // in the window it only opens the site
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(url, window_last_url());
}

TEST_F(HeadlessDisplay, F1WritesOneScreenshotPerKeyMessage)
{
    ScopedChdir here(dir);
    ASSERT_TRUE(open(true));
    draw_picture();
    present_frame(frame_buffer);
    // A held key repeats: two messages before one pump give two files.
    window_post(WindowMessage{WindowMessageKind::key_down, WINDOW_KEY_F1});
    press(WINDOW_KEY_F1);
    EXPECT_EQ(shot_counter, 2);
    EXPECT_EQ(support_read_file("shot   0.tga").size(), 192018u);
    EXPECT_EQ(support_read_file("shot   1.tga").size(), 192018u);
    // Keys without an action do nothing.
    press('A');
    EXPECT_EQ(shot_counter, 2);
    EXPECT_FALSE(fullscreen);
}

TEST_F(HeadlessDisplay, EscapeCloseAndQuitRequestsEndWithCodeOne)
{
    const WindowMessage escape{WindowMessageKind::key_down, WINDOW_KEY_ESCAPE};
    const WindowMessage close{WindowMessageKind::close, 0};
    const WindowMessage quit{WindowMessageKind::quit, 0};
    for (const WindowMessage& message : {escape, close, quit}) {
        SetUp();
        ASSERT_TRUE(open(true));
        EXPECT_EQ(exit_code_after(message), 1);
        EXPECT_EQ(frame_buffer, nullptr);  // shutdown released the frame and the display
        EXPECT_EQ(dd, nullptr);
        TearDown();
    }
}

TEST_F(HeadlessDisplay, TerminationSignalEndsWithCodeOne)
{
    // A termination signal becomes a quit message at the next pump.
    ASSERT_TRUE(open(true));
    std::raise(SIGTERM);
    try {
        present_frame(frame_buffer);
        ADD_FAILURE() << "SIGTERM did not end the run";
    } catch (const ProcessExited& e) {
        EXPECT_EQ(e.code, 1);
    }
}

TEST_F(HeadlessDisplay, ScriptedKeysArriveAfterTheirFrame)
{
    ScopedChdir here(dir);
    window_script_add(0, WINDOW_KEY_F1);
    window_script_add(2, WINDOW_KEY_ESCAPE);
    ASSERT_TRUE(open(true));  // frame 0, then F1
    EXPECT_EQ(shot_counter, 1);
    present_frame(frame_buffer);  // frame 1
    try {
        present_frame(frame_buffer);  // frame 2, then Escape
        ADD_FAILURE() << "Escape after frame 2 did not end the run";
    } catch (const ProcessExited& e) {
        EXPECT_EQ(e.code, 1);
    }
    EXPECT_EQ(support_read_file("shot   0.tga").size(), 192018u);
}

}  // namespace
