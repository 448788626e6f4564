// Presentation of the frame in the screen's pixel format.
#pragma once
#include <cstdint>

// Creates window, display and frame, and presents one black frame.
bool display_open(int32_t width, int32_t height, bool windowed);
// Shows one frame, then polls the music and pumps window messages.
void present_frame(uint32_t* frame);
// Releases the display objects.
void release_display();
