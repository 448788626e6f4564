#include "engine3d/particles.h"

#include <algorithm>

#include "core/frame.h"
#include "core/random.h"
#include "core/timer.h"
#include "engine3d/transform.h"
// Flares and particles are drawn with the blending primitives.
#include "effects/blend.h"

namespace {

// Flares at least this many pixels wide or high (a light nearer than about
// one unit) are not drawn: no sensible picture, and the blit's loops and
// offsets stay small.
constexpr float SPRITE_LIMIT = 16384.0f;

constexpr int32_t FLARE_IMAGE_COUNT = 13;

// Screen position of camera-space point p, or false when p is not in front.
bool project_point(const Vector3& p, int32_t* x, int32_t* y)
{
    if (!(p.z > 0))
        return false;
    *x = frame_width / 2 + projection_truncate(p.x * projection_scale_x / p.z);
    *y = frame_height / 2 - projection_truncate(projection_scale_y * p.y / p.z);
    return true;
}

}  // namespace

bool particle_system_usable(const ParticleSystem* s)
{
    size_t n = static_cast<size_t>(s->particle_count);
    return s->particle_count >= 0 && s->lifetime > 0 && s->birth_times.size() >= n &&
           s->start_positions.size() >= n && s->velocities.size() >= n &&
           s->positions.size() >= n && s->view_positions.size() >= n && s->screen.size() >= n &&
           s->intensities.size() >= n;
}

void particle_system_update(ParticleSystem* system)
{
    float now = static_cast<float>(timer_ticks());
    float lifetime = system->lifetime;
    Vector3 hg = {system->gravity.x * 0.5f, system->gravity.y * 0.5f, system->gravity.z * 0.5f};
    float k = 127.0f / lifetime;
    if (!system->started) {
        system->started = 1;
        float shift = now - lifetime * 4000;
        for (int32_t i = 0; i < system->particle_count; ++i)
            system->birth_times[i] += shift;
    }
    for (int32_t i = 0; i < system->particle_count; ++i) {
        float age = static_cast<float>((now - system->birth_times[i]) * 0.00025);
        if (age < 0)
            age = 0;
        if (age > lifetime) {
            particle_respawn(system, i);
            continue;
        }
        const Vector3& s = system->start_positions[i];
        const Vector3& v = system->velocities[i];
        float age2 = age * age;
        system->positions[i] = {s.x + v.x * age - hg.x * age2, s.y + v.y * age - hg.y * age2,
                                s.z + v.z * age - hg.z * age2};
        system->intensities[i] = std::clamp(128 - float_truncate(age * k), 0, 128);
    }
}

void particle_respawn(ParticleSystem* system, int32_t i)
{
    system->start_positions[i] = system->position;
    double rx = (random_next() % 100) * 0.01;  // drawn in the order x, y, z
    double ry = (random_next() % 100) * 0.01;
    double rz = (random_next() % 100) * 0.01;
    const Vector3& spread = system->spread;
    system->velocities[i] = {static_cast<float>(rx * spread.x - spread.x * 0.5),
                             static_cast<float>(ry * spread.y - spread.y * 0.5),
                             static_cast<float>(rz * spread.z - spread.z * 0.5)};
    system->birth_times[i] = static_cast<float>(timer_ticks());
}

void particle_system_project(ParticleSystem* system, const Camera* camera)
{
    system->view_position = camera_transform(camera, system->position);
    project_point(system->view_position, &system->screen_x, &system->screen_y);
    const float* m = camera->view_matrix.m;
    const Vector3& c = camera->position;
    float cx = m[0] * c.x + m[1] * c.y + m[2] * c.z;
    float cy = m[3] * c.x + m[4] * c.y + m[5] * c.z;
    float cz = m[6] * c.x + m[7] * c.y + m[8] * c.z;
    for (int32_t i = 0; i < system->particle_count; ++i) {
        const Vector3& p = system->positions[i];
        Vector3& v = system->view_positions[i];
        v = {(m[0] * p.x + m[1] * p.y + m[2] * p.z) - cx, (m[3] * p.x + m[4] * p.y + m[5] * p.z) - cy,
             (m[6] * p.x + m[7] * p.y + m[8] * p.z) - cz};
        project_point(v, &system->screen[i].x, &system->screen[i].y);
    }
}

void draw_light_flare(const Light* light, uint32_t* frame)
{
    if (light->flare >= FLARE_IMAGE_COUNT)
        return;
    float s = flare_size / light->view_position.z;
    float w = sprite_scale_x * s;
    float h = sprite_scale_y * s;
    if (!(w >= 0 && w < SPRITE_LIMIT && h >= 0 && h < SPRITE_LIMIT))
        return;
    const FlareImage& image = flare_images[light->flare];
    blit_add_scaled(float_truncate(light->screen_x - w / 2), float_truncate(light->screen_y - h / 2),
                    static_cast<int32_t>(w), static_cast<int32_t>(h), image.width, image.height,
                    image.pixels, frame);
}

void draw_emitter_flare(const ParticleSystem* system, uint32_t* frame)
{
    if (system->flare >= FLARE_IMAGE_COUNT)
        return;
    float s = flare_size / system->view_position.z;
    float w = sprite_scale_x * s;
    float h = sprite_scale_y * s;
    if (!(w >= 0 && w < SPRITE_LIMIT && h >= 0 && h < SPRITE_LIMIT))
        return;
    int32_t width = static_cast<int32_t>(w), height = static_cast<int32_t>(h);
    const FlareImage& image = flare_images[system->flare];
    // The sizes are truncated before centring here (a light flare centres
    // with the unrounded sizes).
    blit_add_scaled(system->screen_x - width / 2, system->screen_y - height / 2, width, height,
                    image.width, image.height, image.pixels, frame);
}

void draw_particle(const ParticleSystem* system, int32_t i, uint32_t* frame)
{
    if (6 + system->flare >= FLARE_IMAGE_COUNT)
        return;
    float w = 3 * sprite_scale_x;
    float h = 3 * sprite_scale_y;
    const Point2& p = system->screen[i];
    draw_shaded_sprite(float_truncate(p.x - w / 2), float_truncate(p.y - h / 2), w, h,
                       &flare_images[6 + system->flare], frame, system->intensities[i]);
}

void draw_shaded_sprite(int32_t x, int32_t y, float width, float height, const FlareImage* image,
                        uint32_t* frame, int32_t shade)
{
    if (width == 0 || height == 0 || x + width < 0 || y + height < 0 || x > frame_width ||
        y > frame_height)
        return;
    int64_t du = float_truncate(196608.0f / width);  // three texels across the sprite, 16.16
    float q = static_cast<float>(image->height) / height;
    const uint8_t* shade_row = ShadeTable + (shade & 255) * 256;
    // Rows and columns left of or above the frame are skipped by arithmetic;
    // they still count, so the texel steps are those of the whole sprite.
    int64_t first_row = std::max<int64_t>(0, -static_cast<int64_t>(y));
    int64_t first_column = std::max<int64_t>(0, -static_cast<int64_t>(x));
    for (int64_t k = first_row; static_cast<float>(k) < height && y + k < frame_height; ++k) {
        int32_t v = std::min(float_truncate(static_cast<float>(k) * q), image->height - 1);
        const uint32_t* texels = image->pixels + static_cast<size_t>(v) * image->width;
        uint32_t* row = frame + row_offset[y + k];
        int64_t position = first_column * du;
        for (int64_t m = first_column; static_cast<float>(m) < width && x + m < frame_width; ++m) {
            int64_t column = position >> 16;
            if (column >= image->width)
                break;  // only for images narrower than three texels
            uint32_t t = texels[column];
            uint32_t& f = row[x + m];
            uint32_t blue = SaturateTable[shade_row[t & 255] + (f & 255)];
            uint32_t green = SaturateTable[shade_row[(t >> 8) & 255] + ((f >> 8) & 255)];
            uint32_t red = SaturateTable[shade_row[(t >> 16) & 255] + ((f >> 16) & 255)];
            f = (f & 0xFF000000u) | blue | green << 8 | red << 16;
            position += du;
        }
    }
}
