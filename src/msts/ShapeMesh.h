#pragma once

// Turning a Shape into world-space textured triangles, ready to draw.
//
// For every lod_control the most detailed distance level is used (the one with the smallest
// viewing distance). Each primitive's points go through the matrix of its prim_state's
// vtx_state and then up the level's hierarchy to the root. The root part's own translation
// is dropped, as the simulator does, so that a vehicle stays on its own origin. Normals are
// turned by the same matrices (without translation). Per corner: position, normal, uv;
// per triangle: the face normal stored in the file (turned likewise) and a material.
//
// Winding: in these (left-handed) coordinates the file's face normal points the same way
// as cross(b - a, c - a), so front faces appear clockwise to a viewer.

#include "msts/Shape.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace msts {

enum class ShaderKind : std::uint8_t {
    Tex,           // textured, unlit
    TexDiff,       // textured, diffuse lit
    BlendATex,     // alpha blended, unlit
    BlendATexDiff, // alpha blended, diffuse lit
    AddATex,       // additive, unlit
    AddATexDiff,   // additive, diffuse lit
    Unknown,       // any other name: draw as TexDiff
};

// The kind a shader name stands for, ignoring letter case.
ShaderKind shaderKindFromName(std::string_view name);

struct Material {
    std::int32_t primStateIndex = -1;
    std::string imageName; // texture file name as written, empty: untextured
    ShaderKind shader = ShaderKind::Unknown;
    std::string shaderName;         // as written in the file
    std::int32_t alphaTestMode = 0; // 1: alpha-tested
    std::int32_t lightingCode = -5; // vtx_state light material: -5 diffuse, -8 unlit, ...
    float zBias = 0;

    bool isBlended() const;  // BlendA* shaders
    bool isAdditive() const; // AddA* shaders
    bool isLit() const;      // a *Diff shader and a lighting code other than unlit
};

struct MeshCorner {
    Vec3 position;
    Vec3 normal;
    Vec2 uv;
    // Which of the mesh's vertices this corner is (below Mesh::vertexCount): corners that
    // share a number hold the same values, one vertex of the file under one part placement,
    // so that a drawing can place it once for all the triangles that meet there.
    std::uint32_t vertex = 0;
};

struct MeshTriangle {
    std::array<MeshCorner, 3> corners;
    Vec3 faceNormal;        // as stored in the file, turned to world space; zero when absent
    std::uint32_t material; // index into Mesh::materials
};

struct Bounds {
    Vec3 min{0, 0, 0};
    Vec3 max{0, 0, 0};
    bool empty = true;
};

struct Mesh {
    std::vector<Material> materials; // one per prim_state that is used, in first-use order
    std::vector<MeshTriangle> triangles;
    // Vertex numbers handed out (MeshCorner::vertex); 0 when the corners are not numbered,
    // each then a vertex of its own.
    std::uint32_t vertexCount = 0;
    Bounds bounds() const;
};

struct MeshOptions {
    // Sub_object 1 is night-only when the shape's descriptor says so; leave it out then.
    bool skipNightSubObject = false;
    // Keep the root part's translation (off: dropped, as the simulator draws vehicles).
    bool keepRootTranslation = false;
};

// Builds the triangles of a validated shape (readShape() output). Never fails: what cannot
// be built was already dropped by validation; an empty shape gives an empty mesh.
Mesh buildMesh(const Shape& shape, const MeshOptions& options = {});

// The world matrix of part `matrixIndex` in a level's hierarchy: its own matrix, then its
// parent's, up to the root (at most maxHierarchyDepth links). Out-of-range: identity.
Matrix composeMatrix(const Shape& shape, const std::vector<std::int32_t>& hierarchy,
                     std::int32_t matrixIndex, bool keepRootTranslation = false);

// p transformed as a point / as a direction by a part matrix.
Vec3 transformPoint(const Matrix& matrix, Vec3 p);
Vec3 transformDirection(const Matrix& matrix, Vec3 d);

} // namespace msts
