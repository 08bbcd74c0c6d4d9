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
