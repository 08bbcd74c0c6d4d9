#pragma once

// The sample vehicles in a neutral form, before they are written as simulator files.
//
// A model is a list of parts (one per matrix of the future shape, each placed relative to
// its parent) holding batches of triangles, one batch per material. Coordinates are the
// simulator's: metres, left-handed, +Y up, +Z the vehicle's front, y = 0 on the rail top.
// Triangles are stored so that cross(b - a, c - a) points out of the solid, as the
// simulator's face normals do.

#include "render/Math.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sample {

// The sample geometry uses the renderer's vector type and operations.
using V3 = render::Vec3;
using render::cross;
using render::dot;
using render::normalize;

struct V2 {
    float u = 0, v = 0;
};

struct Corner {
    V3 position;
    V3 normal;
    V2 uv;
};

struct Material {
    std::string image; // texture file name as the shape names it
    std::string shader = "TexDiff";
    bool alphaTest = false;
};

struct Batch {
    int material = 0;
    std::vector<Corner> corners;
    std::vector<std::uint32_t> indices; // three per triangle, into corners
};

struct Part {
    std::string name;
    int parent = -1;
    V3 offset; // translation relative to the parent
    std::vector<Batch> batches;
};

struct Model {
    std::vector<Material> materials;
    std::vector<Part> parts;

    std::size_t triangleCount() const;
    // Extent of all corners in vehicle axes (parts placed through their parents).
    void bounds(V3& min, V3& max) const;
    // Where a part's origin lies in vehicle axes.
    V3 partOrigin(int part) const;
};

// A rectangle of a texture, in pixels of a texture of the given size; converts to uvs.
struct Region {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int textureSize = 256;
    V2 at(float s, float t) const; // s, t in 0..1 across the region
};

// Builds triangles into one part and one material at a time.
class Builder {
public:
    explicit Builder(Model& model) : model_(model) {}

    int material(const std::string& image, const std::string& shader = "TexDiff",
                 bool alphaTest = false);
    // Starts a part; later geometry goes into it, in coordinates relative to its origin.
    int part(const std::string& name, int parent, V3 offset);
    void use(int part, int material);

    // A flat quad a b c d (in order around its edge) facing `outward`; uv (s, t) corners
    // in the same order: a = (0,0), b = (1,0), c = (1,1), d = (0,1) across the region.
    void quad(V3 a, V3 b, V3 c, V3 d, V3 outward, const Region& region);
    void quadUv(V3 a, V3 b, V3 c, V3 d, V3 outward, V2 ua, V2 ub, V2 uc, V2 ud);
    void triangle(V3 a, V3 b, V3 c, V3 outward, V2 ua, V2 ub, V2 uc);

    // An axis-aligned box. The side regions map so that texture x runs toward -Z on the
    // vehicle's left (-X) side and toward +Z on its right side, top of texture up: lettering
    // reads the right way round from either side.
    struct BoxSkin {
        Region side; // left side, and right side unless `right` is given
        Region end;  // both ends (+Z and -Z)
        Region top;  // top and bottom
        std::optional<Region> right;
        bool bottom = true;
        bool ends = true;
    };
    void box(V3 min, V3 max, const BoxSkin& skin);
    void box(V3 min, V3 max, const Region& all) { box(min, max, skin(all, all, all)); }
    static BoxSkin skin(const Region& side, const Region& end, const Region& top,
                        std::optional<Region> right = std::nullopt, bool bottom = true,
                        bool ends = true) {
        return BoxSkin{side, end, top, right, bottom, ends};
    }

    // A cylinder whose axis runs along X (wheels, axles): centre, radius, half-width.
    // The two discs take `face` (a square region, circle inscribed), the rim `rim`.
    void wheel(V3 centre, float radius, float halfWidth, int segments, const Region& face,
               const Region& rim);
    // A cylinder along Z from z0 to z1 (boilers, buffers, cylinders). The rim region's
    // s runs along the length, t around the circumference starting at the top.
    void cylinderZ(float x, float y, float z0, float z1, float radius, int segments,
                   const Region& rim, const Region* caps);
    // A vertical cylinder (chimney, dome) standing on y0 up to y1.
    void cylinderY(float x, float z, float y0, float y1, float radius0, float radius1, int segments,
                   const Region& rim, const Region* cap);
    // A curved roof along Z: an arc over the width from the cant rail height up to the
    // crown, ends closed.
    void roof(float halfWidth, float eaves, float crown, float z0, float z1, int segments,
              const Region& top, const Region& end);

private:
    Batch& batch();
    Model& model_;
    int part_ = -1;
    int material_ = 0;
};

} // namespace sample
