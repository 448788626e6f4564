// Placeholder until the blending primitives land.
#include "effects/blend.h"

void init_blend_tables() {}
