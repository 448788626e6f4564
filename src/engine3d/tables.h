// The 3D engine's shared lookup tables.
#pragma once

// Builds the tables once; later calls do nothing.
void engine_tables_init();
