// The 3D engine's coordinate transforms: the 3 x 3 matrix routines, object
// rotations, the camera's view matrix, camera-space points, and the viewport
// scales and truncations that turn them into pixels. With the records, the
// tables and the rasterizers it is the bottom of the engine: scene creation,
// the loader, particles and the pipeline use it.
#pragma once
#include <cstdint>

#include "engine3d/scene.h"

// Viewport globals, set from frame_width and frame_height by every render_scene.
extern float projection_scale_x;  // frame_width * 0.8: 256 at 320
extern float projection_scale_y;  // frame_height * 16/15: 213.33334 at 200
extern float sprite_scale_x;      // frame_width / 320: 1 at 320
extern float sprite_scale_y;      // frame_height / 240: 0.83333337 at 200

constexpr float DEG_TO_RAD = 0.017453292f;  // nearest float to pi / 180

// Projected positions beyond +-2^24 pixels from the centre (a point almost in
// the camera plane), infinities and NaN are stored as +-PROJECTION_FAR; a face
// with such a corner is not drawn (its true position does not fit any pixel).
constexpr int32_t PROJECTION_FAR = 1 << 26;

// Truncates a projected offset from the screen centre toward zero, giving
// +-PROJECTION_FAR where the offset is out of range. Used by every projection
// (inline: the pipeline and particles call it for every vertex and particle).
inline int32_t projection_truncate(float offset)
{
    constexpr float limit = 16777216.0f;  // 2^24 pixels
    if (offset >= -limit && offset <= limit)
        return static_cast<int32_t>(offset);
    return offset < 0 ? -PROJECTION_FAR : PROJECTION_FAR;  // NaN lands here too
}

// Truncates toward zero, saturating at the int32 limits (NaN gives 0).
// Used for depth keys and sprite sizes, once per listed face.
inline int32_t float_truncate(float value)
{
    if (value >= 2147483648.0f)
        return INT32_MAX;
    if (value >= -2147483648.0f)
        return static_cast<int32_t>(value);
    return value < 0 ? INT32_MIN : 0;  // below the range, or NaN
}

// Camera-space position of world point p: the rows of the camera's
// view_matrix times p - position. Used for object origins, lights and emitters.
Vector3 camera_transform(const Camera* camera, const Vector3& p);

// Camera setters: store the value, then rebuild view_matrix. Called by
// scene_create, the 3DS camera reader and the scene effects.
void camera_set_position(Camera* camera, float x, float y, float z);
void camera_set_target(Camera* camera, float x, float y, float z);
void camera_set_roll(Camera* camera, float degrees);
// Rebuilds view_matrix from position, target and roll. A camera whose target
// equals its position (no viewing direction) gets the zero matrix: every
// point then lies at depth 0 and nothing is drawn.
void camera_update_matrix(Camera* camera);

// Rebuilds rotation = Rx * Ry * Rz from angles; called by object_set_angles.
void object_build_rotation(Object3D* object);

// 3 x 3 matrix routines (row-major), used by the pipeline, the loader and scenes.
void matrix_clear(Matrix3* m);
void matrix_identity(Matrix3* m);
void matrix_copy(Matrix3* destination, const Matrix3* source);
// a := a * b; a and b may be the same matrix.
void matrix_multiply(Matrix3* a, const Matrix3* b);
// Rotation about X, Y or Z by degrees, starting from the identity.
void matrix_rotation_x(Matrix3* m, float degrees);
void matrix_rotation_y(Matrix3* m, float degrees);
void matrix_rotation_z(Matrix3* m, float degrees);
