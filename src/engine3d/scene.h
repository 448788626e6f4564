// The 3D engine's records: scenes, mesh objects, the camera, flare lights,
// particle systems, the draw list and keyframe tracks. Plain structures that
// the loader, scene creation, the pipeline and the scene code all share.
// Engine space is Y-up; camera space has x right, y up, z into the screen.
// Owning arrays are std::vector; the fixed capacities of the pointer lists
// (5000 objects, 5000 lights, 500 particle systems) became growing arrays.
// Per-vertex arrays hold vertex_count entries, per-face arrays face_count,
// per-particle arrays particle_count; the pipeline skips records that do not.
#pragma once
#include <cstdint>
#include <vector>

struct Vector3 {
    float x, y, z;
};

struct Point2 {
    int32_t x, y;  // a screen position, or texture coordinates (u, v)
};

struct Matrix3 {
    float m[9];  // row-major; a column vector v transforms as M*v
};

struct Key {
    int32_t frame;                     // key frame number, 0..65535
    Vector3 value;                     // meaning depends on the track
    float tension, continuity, bias;   // spline parameters, 0 when the file gives none
};

struct KeyTrack {
    int32_t key_count = 0;
    std::vector<Key> keys;  // room for at least key_count keys
};

struct Face {
    int32_t a, b, c;            // vertex indices, file order
    int32_t ua, va, ub, vb, uc, vc;  // corner texture coordinates in texels (wrapped mod 256 when drawn)
};

struct Object3D {
    char name[52] = {};                 // always NUL-terminated
    std::vector<Vector3> vertices;      // object-space positions
    std::vector<Face> faces;
    std::vector<Vector3> face_normals;  // unnormalised, one per face
    std::vector<Vector3> vertex_normals;
    std::vector<Vector3> view_normals;  // vertex_normals rotated by view_matrix
    std::vector<Vector3> view_vertices; // camera-space positions this frame
    std::vector<Point2> screen;         // projected positions (valid where view z > 0)
    std::vector<Point2> mapping;        // texture coordinates, or environment coordinates for kinds 3..9
    uint32_t* texture = nullptr;        // 256 x 256 texels in frame pixel layout
    uint8_t render_kind = 0;            // a RenderKind (render_kind.h): 1..9 drawn; 0 and 10..255 not drawn
    uint8_t normals_dirty = 0;          // recompute normals every frame
    uint8_t normals_ready = 0;          // normals computed at least once
    Vector3 origin = {0, 0, 0};         // world position of the local origin
    Vector3 view_origin = {0, 0, 0};    // origin in camera space, this frame
    int32_t vertex_count = 0;
    int32_t face_count = 0;
    Vector3 angles = {0, 0, 0};         // degrees about X, Y, Z
    Matrix3 local_axes = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    Matrix3 rotation = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};  // Rx * Ry * Rz of angles
    Matrix3 view_matrix = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};  // camera view * rotation * local_axes
    KeyTrack position_track;
    KeyTrack rotation_track;
};

struct Camera {
    char name[52] = {};
    Vector3 position = {0, 0, 512};
    Vector3 target = {0, 0, 0};
    float roll = 0;                     // degrees
    float lens = 0;                     // stored only
    Matrix3 view_matrix = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};  // world to camera, rebuilt by the setters
    KeyTrack position_track;
    KeyTrack target_track;
    KeyTrack roll_track;
};

struct Light {
    char name[52] = {};
    Vector3 position = {0, 0, 0};
    Vector3 view_position = {0, 0, 0};
    int32_t screen_x = 0, screen_y = 0;
    uint8_t flare = 0;                  // flare image index
    KeyTrack position_track;
};

struct ParticleSystem {
    Vector3 position = {0, 0, 0};       // emitter, world space
    Vector3 view_position = {0, 0, 0};
    int32_t screen_x = 0, screen_y = 0;
    std::vector<float> birth_times;     // timer_ticks at (re)birth
    std::vector<Vector3> start_positions;
    std::vector<Vector3> velocities;
    std::vector<Vector3> positions;
    std::vector<Vector3> view_positions;
    std::vector<Point2> screen;
    std::vector<int32_t> intensities;   // 0..128
    Vector3 gravity = {0, 0, 0};
    Vector3 spread = {0, 0, 0};
    uint8_t show_emitter = 0;
    uint8_t started = 0;
    uint8_t flare = 0;
    int32_t particle_count = 0;
    float lifetime = 0;                 // seconds
};

enum DrawKind : int32_t {
    DRAW_LIGHT = 100,
    DRAW_PARTICLE = 200,
    DRAW_EMITTER = 201,
};

struct DrawItem {
    int32_t kind;    // 1..9 a face with that render kind; 100 light; 200 particle; 201 emitter
    uint32_t depth;  // ascending depth is back-to-front order
    int32_t index;   // face index or particle index
    void* item;      // the Object3D, Light or ParticleSystem
};

// A Scene owns its camera, objects, lights and particle systems (allocated
// with new; its destructor deletes them), so it is not copyable.
struct Scene {
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    ~Scene();

    std::vector<Object3D*> objects;                 // entries 0..object_count-1
    std::vector<Light*> lights;                     // entries 0..light_count-1
    std::vector<ParticleSystem*> particle_systems;  // entries 0..particle_system_count-1
    Camera* camera = nullptr;                       // the one camera, made by scene_create
    std::vector<DrawItem> draw_list;     // this frame's items, sorted back to front; room for every item
    std::vector<DrawItem> draw_scratch;  // second buffer of the radix sort, same size
    int32_t first_frame = 0;             // animation segment of the 3DS keyframer
    int32_t last_frame = 0;
    int32_t frame_count = 0;             // last_frame - first_frame
    int32_t draw_count = 0;              // valid items in draw_list this frame
    int32_t object_count = 0;
    int32_t light_count = 0;
    int32_t particle_system_count = 0;
    int32_t total_vertices = 0;          // vertices of objects made by mesh_create
    int32_t total_faces = 0;             // faces of objects made by mesh_create
};
