// The production's two 3D scenes, built as 3DS files: "19.3ds" (a faceted star
// carried by a ring in front of a turntable platter, seen from a little above) and "vlak.3ds" (a screen
// plane in a picture frame under a camera looking straight down). Used by
// content_generate and the content tests.
#pragma once
#include <cstdint>
#include <vector>

#include "threeds_writer.h"

// The pulse scene: object 0 "star" centred on its origin, object 1 "surround".
ThreedsScene scene_pulse();
// The feedback scene: object 0 "screen", object 1 "frame".
ThreedsScene scene_feedback();

// Half sizes of the feedback scene's screen plane (file x and y), the width of
// the frame around it and the height of its camera above it. Seen from that
// height the screen takes about five sixths of the picture's width, so each
// picture inside the picture is nearly as large as the one around it.
constexpr float feedback_plane_half_width = 140.0f;
constexpr float feedback_plane_half_depth = 105.0f;
constexpr float feedback_frame_border = 26.0f;
constexpr float feedback_camera_height = 270.0f;
