// The 3DS scene reader: meshes, the camera, material names and the
// keyframer block of a 3DS file, read through the archive layer into a Scene.
// The scene preparations call load_3ds; vivur-inspect uses it to check files.
#pragma once
#include <cstdint>
#include <vector>

#include "engine3d/scene.h"

// One seen material name: the first 30 bytes of the name, NUL-terminated.
struct MaterialName {
    char text[31];
};

// The material names seen by every load of the run. Only their number
// matters to the production (no number at all gives a warning); objects
// carry no reference to a material.
struct MaterialTable {
    int32_t count = 0;                // never reset by the loader
    std::vector<MaterialName> names;  // entries 0..count-1
};

extern MaterialTable material_table;  // shared by all loads of the run

// What the last load_3ds saw beyond the scene records; vivur-inspect reports it.
struct LoaderReport {
    std::vector<uint8_t> has_mapping;  // per object of the file: a mapping list was read
    std::vector<uint8_t> has_axes;     // per object of the file: a local-axes chunk was read
    bool has_segment = false;          // a keyframer segment was read
    int32_t node_count = 0;            // keyframer nodes whose header was found
};

extern LoaderReport loader_report;  // reset by every load_3ds

// Called by the scene preparations (and vivur-inspect) on a scene that
// scene_create has set up: reads the named file and appends one object per
// mesh after the objects the scene already holds, sets the camera from the
// file's last camera, reads the keyframer tracks and sizes the draw lists
// for all the scene's faces. Every failure is fatal through report_error.
void load_3ds(const char* name, Scene* scene);

// Texture coordinate of the file (0..1 per texture width) in texels:
// trunc(u * 255) rem 255, the remainder taking the dividend's sign;
// not-a-number and infinities give 0. Used by load_3ds.
int32_t loader_mapping_coordinate(float u);
