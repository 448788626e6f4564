// Placeholder until the 3D engine lands: no tables yet.
#include "engine3d/tables.h"

void engine_tables_init() {}
