#pragma once

// Building msts::Shape values from parts and materials, for fixtures and sample content.
//
// A builder holds the shared tables of a shape (points, normals, uv points, matrices,
// images, states) and the sub_objects of its most detailed level. Geometry is added as
// quads, boxes and tubes of one material on one part; every triangle gets a face normal
// that agrees with its winding (cross(b - a, c - a)), as in the simulator's files.

#include "msts/Shape.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

class ShapeBuilder {
public:
    ShapeBuilder();

    // A part placed by a matrix (12 floats, see msts::Matrix) under a parent part (-1: root).
    std::int32_t addPart(const std::string& name, const std::array<float, 12>& matrix,
                         std::int32_t parent);

    // A material: an image file name (empty: untextured), a shader name as the files spell
    // it ("TexDiff", "BlendATexDiff"...), the alpha-test mode and the lighting code, on a
    // part. Returns the prim_state index.
    std::int32_t addMaterial(const std::string& image, const std::string& shader, std::int32_t part,
                             std::int32_t alphaTestMode = 0, std::int32_t lightingCode = -5);

    // Starts a new sub_object; geometry goes into the last one started (one is open at first).
    void beginSubObject();

    // Two triangles a-b-c and a-c-d with their face normal; uvs per corner.
    void addQuad(std::int32_t material, const std::array<msts::Vec3, 4>& corners,
                 const std::array<msts::Vec2, 4>& uvs);
    // One triangle a-b-c with its face normal.
    void addTriangle(std::int32_t material, const std::array<msts::Vec3, 3>& corners,
                     const std::array<msts::Vec2, 3>& uvs);
    // An axis-aligned box whose faces look outward.
    void addBox(std::int32_t material, msts::Vec3 min, msts::Vec3 max);
    // A tube along +Z from z0 to z1 with its axis at (cx, cy), `sides` facets around and
    // `rings` segments along, faces looking outward.
    void addTube(std::int32_t material, float cx, float cy, float radius, float z0, float z1,
                 int sides, int rings);

    // A second, coarser distance level (a box around everything) further away, so that
    // readers that pick the wrong level are caught.
    void setCoarseLevel(bool on) { coarseLevel_ = on; }

    msts::Shape build() const;

    std::size_t triangleCount() const;

private:
    std::int32_t point(msts::Vec3 p);
    std::int32_t normal(msts::Vec3 n);
    std::int32_t uvPoint(msts::Vec2 uv);
    std::int32_t image(const std::string& name);
    std::int32_t shaderIndex(const std::string& name);
    msts::Primitive& primitiveFor(std::int32_t material);
    std::uint32_t vertex(std::int32_t pointIndex, std::int32_t normalIndex, std::int32_t uvIndex);

    msts::Shape shape_;
    std::vector<std::int32_t> hierarchy_;
    std::vector<msts::SubObject> subObjects_;
    bool coarseLevel_ = false;
};

// The small shape every form of the fixtures holds: a root body with a textured box, a
// child part with a translucent panel, two materials, two distance levels.
msts::Shape sampleShape();

// Three parts in a chain (root BODY, ARM under it turned a quarter about +Y, HAND under ARM)
// with one triangle on HAND, for checking how placements compose.
msts::Shape chainShape();

// A shape of about `triangles` triangles shaped like a vehicle body (a long tube and boxes),
// in several sub_objects and materials, for benchmarks.
msts::Shape generatedShape(std::size_t triangles);

} // namespace fixtures
