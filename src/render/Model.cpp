#include "render/Model.h"

#include <algorithm>
#include <limits>

namespace render {

std::size_t Model::triangleCount() const {
    std::size_t n = 0;
    for (const Primitive& p : primitives)
        n += p.indices.size() / 3;
    return n;
}

void appendModel(Model& into, const Model& part, Vec3 offset) {
    const auto firstVertex = std::uint32_t(into.vertices.size());
    const auto firstMaterial = std::uint32_t(into.materials.size());
    const int firstTexture = int(into.textures.size());
    into.textures.insert(into.textures.end(), part.textures.begin(), part.textures.end());
    for (Material m : part.materials) {
        if (m.texture >= 0 && std::size_t(m.texture) < part.textures.size())
            m.texture += firstTexture;
        else
            m.texture = -1;
        into.materials.push_back(m);
    }
    for (Vertex v : part.vertices) {
        v.position = v.position + offset;
        into.vertices.push_back(v);
    }
    // References that pointed nowhere in `part` keep pointing nowhere, not at another shape.
    constexpr std::uint32_t nowhere = std::numeric_limits<std::uint32_t>::max();
    for (const Primitive& p : part.primitives) {
        Primitive moved;
        moved.material = p.material < part.materials.size() ? p.material + firstMaterial : nowhere;
        moved.indices.reserve(p.indices.size());
        for (std::uint32_t i : p.indices)
            moved.indices.push_back(i < part.vertices.size() ? i + firstVertex : nowhere);
        into.primitives.push_back(std::move(moved));
    }
}

BoundingSphere boundingSphere(const Model& model, const Mat4& world) {
    std::vector<char> used(model.vertices.size(), 0);
    for (const Primitive& p : model.primitives)
        for (std::uint32_t i : p.indices)
            if (i < used.size())
                used[i] = 1;

    constexpr float inf = std::numeric_limits<float>::infinity();
    Vec3 lo{inf, inf, inf}, hi{-inf, -inf, -inf};
    std::vector<Vec3> points;
    for (std::size_t i = 0; i < model.vertices.size(); ++i) {
        if (!used[i])
            continue;
        const Vec3 p = transformPoint(model.vertices[i].position, world);
        points.push_back(p);
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    if (points.empty())
        return {};
    BoundingSphere s;
    s.centre = (lo + hi) * 0.5f;
    for (const Vec3& p : points)
        s.radius = std::max(s.radius, length(p - s.centre));
    return s;
}

} // namespace render
