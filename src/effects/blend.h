// Channel tables and whole-frame blending primitives.
#pragma once
#include <cstdint>

// Builds SaturateTable and ShadeTable; called once by startup.
void init_blend_tables();
