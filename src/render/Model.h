#pragma once

// What the renderer draws: triangles in the model's own axes (the shape's hierarchy already
// applied), grouped into primitives that share a material, plus the materials and textures.

#include "render/Image.h"
#include "render/Math.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace render {

struct Vertex {
    Vec3 position;
    Vec3 normal;
    float u = 0, v = 0; // u to the right, v downwards; texture row 0 is the top row
};

enum class BlendMode {
    Opaque,     // texture alpha ignored
    AlphaTest,  // texels below the reference alpha leave a hole
    AlphaBlend, // mixed with what lies behind, drawn after everything opaque
    Additive,   // added to what lies behind, drawn with the blended parts
};

struct Material {
    int texture = -1; // index into Model::textures; -1 or an empty slot draws `colour`
    Rgb colour{128, 128, 128};
    BlendMode blend = BlendMode::Opaque;
    float alphaReference = 200.0f / 255.0f;
    bool lit = true;         // false: full brightness, no shading
    float brightness = 1.0f; // scale on the result (darkened lighting codes)
};

struct Primitive {
    std::uint32_t material = 0;
    std::vector<std::uint32_t> indices; // three per triangle, into Model::vertices
};

struct Model {
    std::vector<Vertex> vertices;
    std::vector<Primitive> primitives;
    std::vector<Material> materials;
    // Shared: decoded textures come from a cache that many models use at once.
    std::vector<std::shared_ptr<const Texture>> textures;

    std::size_t triangleCount() const;
    bool empty() const { return triangleCount() == 0; }
};

struct BoundingSphere {
    Vec3 centre;
    float radius = 0;
};

// Adds `part` to `into`, every vertex moved by `offset` in the model's own axes: a shape drawn
// in the same scene as another, under the same world matrix. Materials, textures and indices
// are renumbered to follow those already there.
void appendModel(Model& into, const Model& part, Vec3 offset);

// The sphere around the centre of the model's bounding box, with the world matrix applied,
// that holds every vertex a primitive uses. Radius 0 at the origin for an empty model.
BoundingSphere boundingSphere(const Model& model, const Mat4& world);

} // namespace render
