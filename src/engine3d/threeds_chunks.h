// Chunk ids of the 3DS scene format, named once for the reader (loader.cpp,
// which handles a subset and skips the rest) and for the writer in
// tools/threeds (which writes them all). A chunk is a u16 id and a u32 length
// counting its 6-byte header, its own data and its children.
#pragma once
#include <cstdint>

enum ThreedsChunk : uint16_t {
    THREEDS_VERSION = 0x0002,           // u32 file version
    THREEDS_COLOUR_24 = 0x0011,         // red, green, blue bytes
    THREEDS_PERCENT = 0x0030,           // u16 percentage
    THREEDS_MASTER_SCALE = 0x0100,      // float units per world unit
    THREEDS_EDITOR = 0x3D3D,            // the editor block: materials and objects
    THREEDS_MESH_VERSION = 0x3D3E,      // u32 editor version
    THREEDS_OBJECT = 0x4000,            // a named object: name, then a mesh, camera or light
    THREEDS_TRIANGLES = 0x4100,         // a triangle mesh: vertices, mapping, axes, faces
    THREEDS_VERTICES = 0x4110,          // u16 count, then x, y, z floats each
    THREEDS_FACES = 0x4120,             // u16 count, then corners a, b, c and flags (u16 each)
    THREEDS_FACE_MATERIAL = 0x4130,     // material name, u16 count, face indices
    THREEDS_MAPPING = 0x4140,           // u16 count, then u, v floats per vertex
    THREEDS_SMOOTHING = 0x4150,         // u32 smoothing-group mask per face
    THREEDS_LOCAL_AXES = 0x4160,        // X, Y, Z axis rows and the origin, 12 floats
    THREEDS_LIGHT = 0x4600,             // an omni light: position, then its colour
    THREEDS_CAMERA = 0x4700,            // position, target, roll (degrees), lens (mm)
    THREEDS_MAIN = 0x4D4D,              // the whole file
    THREEDS_MATERIAL_NAME = 0xA000,     // the material's name
    THREEDS_AMBIENT = 0xA010,           // ambient colour
    THREEDS_DIFFUSE = 0xA020,           // diffuse colour
    THREEDS_SPECULAR = 0xA030,          // specular colour
    THREEDS_TEXTURE_MAP = 0xA200,       // texture map: strength, then its file
    THREEDS_MAP_FILE = 0xA300,          // file name of a map
    THREEDS_MATERIAL = 0xAFFF,          // a material block
    THREEDS_KEYFRAMER = 0xB000,         // the keyframer block: segment and nodes
    THREEDS_OBJECT_NODE = 0xB002,       // node animating a mesh (or a dummy)
    THREEDS_CAMERA_NODE = 0xB003,       // node animating a camera
    THREEDS_TARGET_NODE = 0xB004,       // node animating a camera's target
    THREEDS_LIGHT_NODE = 0xB005,        // node animating an omni light
    THREEDS_SEGMENT = 0xB008,           // u32 first and last frame
    THREEDS_CURRENT_TIME = 0xB009,      // u32 current frame
    THREEDS_KEYFRAMER_HEADER = 0xB00A,  // revision, scene name, frame count
    THREEDS_NODE_HEADER = 0xB010,       // name, two flag words, parent node id
    THREEDS_INSTANCE_NAME = 0xB011,     // a dummy node's own name
    THREEDS_PIVOT = 0xB013,             // pivot point, 3 floats
    THREEDS_POSITION_TRACK = 0xB020,    // keys of x, y, z
    THREEDS_ROTATION_TRACK = 0xB021,    // keys of angle (radians) and axis x, y, z
    THREEDS_SCALE_TRACK = 0xB022,       // keys of x, y, z scale
    THREEDS_FOV_TRACK = 0xB023,         // keys of the field of view
    THREEDS_ROLL_TRACK = 0xB024,        // keys of the camera roll
    THREEDS_NODE_ID = 0xB030,           // u16 node id
};
