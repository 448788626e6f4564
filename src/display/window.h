// The production's window: creation, the window procedure with its key
// table, and the message pump that present_frame runs after every frame.
#pragma once
#include <cstdint>

#include "platform/window.h"

extern WindowHandle* main_window;  // nullptr until create_window succeeds
extern const char* window_title;   // "yrk/win v1.0 (alpha)" once startup has run

// Creates and shows the window, centred, at the largest whole multiple of
// the picture's 4:3 size that fits comfortably on the desktop, and fills
// window_rect. Called by display_open.
bool create_window();
// The window's procedure: quits on destroy, refreshes client_rect, sets the
// pointer and runs the key actions (Escape, F1, F2, F8).
int64_t window_proc(WindowHandle* window, const WindowMessage& message);
// Dispatches every waiting message without waiting; true when a quit
// message was taken. Called by present_frame.
bool pump_messages();
