// Render kinds of a mesh object (Object3D::render_kind): which coordinates
// its faces are drawn with and which side of a face is shown. The pipeline
// decodes them here and nowhere else; kinds outside 1..9 are not drawn.
#pragma once
#include <cstdint>

enum RenderKind : int32_t {
    RENDER_FACE_FRONT = 1,         // face texture coordinates; front side
    RENDER_FACE_BACK = 2,          // face texture coordinates; back side
    RENDER_HIGHLIGHT_FRONT = 3,    // face texture with a soft highlight; front side
    RENDER_HIGHLIGHT_BACK = 4,     // face texture with a soft highlight; back side
    RENDER_ENVIRONMENT_FRONT = 5,  // environment coordinates from the normals; front side
    RENDER_ENVIRONMENT_BACK = 6,   // environment coordinates from the normals; back side
    RENDER_FACE_BOTH = 7,          // face texture coordinates; both sides
    RENDER_HIGHLIGHT_BOTH = 8,     // face texture with a soft highlight; both sides
    RENDER_ENVIRONMENT_BOTH = 9,   // environment coordinates from the normals; both sides
};

// What a face is drawn with: the textured rasterizer at the face's texture
// coordinates or at the vertices' environment coordinates, or the highlight
// rasterizer with both (texture from the face, spot from the environment).
enum class KindCoordinates : uint8_t { none, face, environment, highlight };

// Which side of a face is shown. On screen (y down) the front side's corners
// run counter-clockwise, which makes the pipeline's signed area negative.
enum class KindSide : uint8_t { none, front, back, both };

struct RenderKindRule {
    KindCoordinates coordinates;
    KindSide side;
    // The pipeline keeps the object's normals and environment coordinates
    // (its mapping) up to date every frame: every kind from 3 on, kind 7
    // included although it draws with the face's coordinates.
    bool environment;
};

// The rules of kinds 0..9, by kind.
inline constexpr RenderKindRule RENDER_KIND_RULES[10] = {
    {KindCoordinates::none, KindSide::none, false},          // 0: not drawn
    {KindCoordinates::face, KindSide::front, false},         // RENDER_FACE_FRONT
    {KindCoordinates::face, KindSide::back, false},          // RENDER_FACE_BACK
    {KindCoordinates::highlight, KindSide::front, true},     // RENDER_HIGHLIGHT_FRONT
    {KindCoordinates::highlight, KindSide::back, true},      // RENDER_HIGHLIGHT_BACK
    {KindCoordinates::environment, KindSide::front, true},   // RENDER_ENVIRONMENT_FRONT
    {KindCoordinates::environment, KindSide::back, true},    // RENDER_ENVIRONMENT_BACK
    {KindCoordinates::face, KindSide::both, true},           // RENDER_FACE_BOTH
    {KindCoordinates::highlight, KindSide::both, true},      // RENDER_HIGHLIGHT_BOTH
    {KindCoordinates::environment, KindSide::both, true},    // RENDER_ENVIRONMENT_BOTH
};

// The rule of kind; kinds outside 1..9 give the rule of 0 (not drawn).
constexpr RenderKindRule render_kind_rule(int32_t kind)
{
    return kind >= 0 && kind < 10 ? RENDER_KIND_RULES[kind] : RENDER_KIND_RULES[0];
}

// True when a face whose signed screen area is `area` ((y_b - y_c)(x_a - x_c)
// - (x_b - x_c)(y_a - y_c)) shows the side asked for. A face of zero area
// shows only when both sides do.
constexpr bool render_side_shown(KindSide side, int64_t area)
{
    if (side == KindSide::both)
        return true;
    return area < 0 ? side == KindSide::front : area > 0 && side == KindSide::back;
}
