#include "engine3d/transform.h"

#include <cmath>
#include <cstring>

#include "core/maths.h"

float projection_scale_x = 0.0f;
float projection_scale_y = 0.0f;
float sprite_scale_x = 0.0f;
float sprite_scale_y = 0.0f;

// ---- camera-space points ----

Vector3 camera_transform(const Camera* camera, const Vector3& p)
{
    const float* m = camera->view_matrix.m;
    float dx = p.x - camera->position.x;
    float dy = p.y - camera->position.y;
    float dz = p.z - camera->position.z;
    return {m[0] * dx + m[1] * dy + m[2] * dz, m[3] * dx + m[4] * dy + m[5] * dz,
            m[6] * dx + m[7] * dy + m[8] * dz};
}

// ---- matrices ----

void matrix_clear(Matrix3* m) { std::memset(m->m, 0, sizeof m->m); }

void matrix_identity(Matrix3* m)
{
    matrix_clear(m);
    m->m[0] = m->m[4] = m->m[8] = 1.0f;
}

void matrix_copy(Matrix3* destination, const Matrix3* source) { *destination = *source; }

void matrix_multiply(Matrix3* a, const Matrix3* b)
{
    Matrix3 t;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            t.m[i * 3 + j] = a->m[i * 3] * b->m[j] + a->m[i * 3 + 1] * b->m[3 + j] +
                             a->m[i * 3 + 2] * b->m[6 + j];
    *a = t;
}

namespace {
// Cosine and sine of degrees, the angle rounded to float before both.
void rotation_terms(float degrees, float* c, float* s)
{
    float radians = degrees * DEG_TO_RAD;
    *c = static_cast<float>(std::cos(static_cast<double>(radians)));
    *s = static_cast<float>(std::sin(static_cast<double>(radians)));
}
}  // namespace

void matrix_rotation_x(Matrix3* m, float degrees)
{
    float c, s;
    rotation_terms(degrees, &c, &s);
    matrix_identity(m);
    m->m[4] = c;
    m->m[5] = -s;
    m->m[7] = s;
    m->m[8] = c;
}

void matrix_rotation_y(Matrix3* m, float degrees)
{
    float c, s;
    rotation_terms(degrees, &c, &s);
    matrix_identity(m);
    m->m[0] = c;
    m->m[2] = s;
    m->m[6] = -s;
    m->m[8] = c;
}

void matrix_rotation_z(Matrix3* m, float degrees)
{
    float c, s;
    rotation_terms(degrees, &c, &s);
    matrix_identity(m);
    m->m[0] = c;
    m->m[1] = -s;
    m->m[3] = s;
    m->m[4] = c;
}

// ---- camera and object matrices ----

void camera_set_position(Camera* camera, float x, float y, float z)
{
    camera->position = {x, y, z};
    camera_update_matrix(camera);
}

void camera_set_target(Camera* camera, float x, float y, float z)
{
    camera->target = {x, y, z};
    camera_update_matrix(camera);
}

void camera_set_roll(Camera* camera, float degrees)
{
    camera->roll = degrees;
    camera_update_matrix(camera);
}

void camera_update_matrix(Camera* camera)
{
    float dx = camera->target.x - camera->position.x;
    float dy = camera->target.y - camera->position.y;
    float dz = camera->target.z - camera->position.z;
    double length = std::sqrt(static_cast<double>(dx * dx + dy * dy + dz * dz));
    if (!(length > 0.0) || !std::isfinite(length)) {
        matrix_clear(&camera->view_matrix);  // no viewing direction: nothing in front
        return;
    }
    float s = static_cast<float>(dy / length);
    if ((s > -0.0001 && s < 0) || (s > 0 && s < 0.0001))
        s = 0;  // dead zone: a nearly level camera gets pitch exactly 0
    if (s > 1.0f)
        s = 1.0f;  // dy / length may round just past 1 when looking straight up
    if (s < -1.0f)
        s = -1.0f;
    float yaw = -static_cast<float>(std::atan2(static_cast<double>(dx), static_cast<double>(dz)));
    float pitch = maths_arc_sine(s);
    float roll = camera->roll * -DEG_TO_RAD;
    float cy = static_cast<float>(std::cos(static_cast<double>(yaw)));
    float sy = static_cast<float>(std::sin(static_cast<double>(yaw)));
    float cp = static_cast<float>(std::cos(static_cast<double>(pitch)));
    float sp = static_cast<float>(std::sin(static_cast<double>(pitch)));
    float cr = static_cast<float>(std::cos(static_cast<double>(roll)));
    float sr = static_cast<float>(std::sin(static_cast<double>(roll)));
    float* m = camera->view_matrix.m;
    m[0] = cr * cy + sy * sr * sp;
    m[1] = sr * cp;
    m[2] = cr * sy - cy * sr * sp;
    m[3] = sy * cr * sp - sr * cy;
    m[4] = cr * cp;
    m[5] = -cy * cr * sp - sr * sy;
    m[6] = -cp * sy;
    m[7] = sp;
    m[8] = cp * cy;
}

void object_build_rotation(Object3D* object)
{
    Matrix3 temporary;
    matrix_identity(&object->rotation);
    matrix_rotation_x(&object->rotation, object->angles.x);
    matrix_rotation_y(&temporary, object->angles.y);
    matrix_multiply(&object->rotation, &temporary);
    matrix_rotation_z(&temporary, object->angles.z);
    matrix_multiply(&object->rotation, &temporary);
}
