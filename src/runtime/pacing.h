// Frame pacing shared by every mode: counts presented frames, moves the
// virtual clock one frame on in headless and capture runs, writes the trace
// and ends the run after --frames. present_frame calls the two hooks.
#pragma once
#include <cstdint>

extern int64_t pacing_frame;  // number of the frame being presented; 0 is display_open's black frame

// Called by backends_choose: the frame rate of the run, fps_num / fps_den
// frames a second (60 until then), the virtual clock's step.
void pacing_set_rate(int64_t fps_num, int64_t fps_den);
// Called by present_frame after frame is shown, before music_poll: hands
// frame to a running capture and, on the virtual clock, moves the time to (pacing_frame + 1) / fps, so the poll sees
// that time and the next frame is drawn at it.
void pacing_frame_shown(const uint32_t* frame);
// Called by present_frame after music_poll and before the message pump:
// writes the frame's trace line, counts the frame and ends the run through
// shutdown once --frames frames were presented, or with an error once an
// offline run's module has looped twice.
void pacing_frame_polled();
