#include "Model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace sample {

namespace {

constexpr float pi = std::numbers::pi_v<float>;

} // namespace

std::size_t Model::triangleCount() const {
    std::size_t count = 0;
    for (const Part& part : parts)
        for (const Batch& batch : part.batches)
            count += batch.indices.size() / 3;
    return count;
}

V3 Model::partOrigin(int part) const {
    V3 origin;
    // Parents always come before their children, so this walk ends.
    for (int p = part; p >= 0; p = parts[static_cast<std::size_t>(p)].parent)
        origin = origin + parts[static_cast<std::size_t>(p)].offset;
    return origin;
}

void Model::bounds(V3& min, V3& max) const {
    constexpr float big = std::numeric_limits<float>::max();
    min = {big, big, big};
    max = {-big, -big, -big};
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const V3 origin = partOrigin(static_cast<int>(p));
        for (const Batch& batch : parts[p].batches)
            for (const Corner& corner : batch.corners) {
                const V3 q = corner.position + origin;
                min = {std::min(min.x, q.x), std::min(min.y, q.y), std::min(min.z, q.z)};
                max = {std::max(max.x, q.x), std::max(max.y, q.y), std::max(max.z, q.z)};
            }
    }
}

V2 Region::at(float s, float t) const {
    const float size = static_cast<float>(textureSize);
    return {(x0 + (x1 - x0) * s) / size, (y0 + (y1 - y0) * t) / size};
}

int Builder::material(const std::string& image, const std::string& shader, bool alphaTest) {
    for (std::size_t i = 0; i < model_.materials.size(); ++i) {
        const Material& m = model_.materials[i];
        if (m.image == image && m.shader == shader && m.alphaTest == alphaTest)
            return static_cast<int>(i);
    }
    model_.materials.push_back({image, shader, alphaTest});
    return static_cast<int>(model_.materials.size() - 1);
}

int Builder::part(const std::string& name, int parent, V3 offset) {
    model_.parts.push_back({name, parent, offset, {}});
    part_ = static_cast<int>(model_.parts.size() - 1);
    return part_;
}

void Builder::use(int part, int material) {
    part_ = part;
    material_ = material;
}

Batch& Builder::batch() {
    Part& part = model_.parts[static_cast<std::size_t>(part_)];
    for (Batch& b : part.batches)
        if (b.material == material_)
            return b;
    part.batches.push_back({material_, {}, {}});
    return part.batches.back();
}

void Builder::triangle(V3 a, V3 b, V3 c, V3 outward, V2 ua, V2 ub, V2 uc) {
    const V3 n = normalize(outward);
    Corner ca{a, n, ua}, cb{b, n, ub}, cc{c, n, uc};
    if (dot(cross(b - a, c - a), outward) < 0)
        std::swap(cb, cc);
    Batch& out = batch();
    const auto base = static_cast<std::uint32_t>(out.corners.size());
    out.corners.insert(out.corners.end(), {ca, cb, cc});
    out.indices.insert(out.indices.end(), {base, base + 1, base + 2});
}

void Builder::quadUv(V3 a, V3 b, V3 c, V3 d, V3 outward, V2 ua, V2 ub, V2 uc, V2 ud) {
    const V3 n = normalize(outward);
    Batch& out = batch();
    const auto base = static_cast<std::uint32_t>(out.corners.size());
    out.corners.insert(out.corners.end(), {{a, n, ua}, {b, n, ub}, {c, n, uc}, {d, n, ud}});
    if (dot(cross(b - a, c - a), outward) >= 0)
        out.indices.insert(out.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    else
        out.indices.insert(out.indices.end(), {base, base + 2, base + 1, base, base + 3, base + 2});
}

void Builder::quad(V3 a, V3 b, V3 c, V3 d, V3 outward, const Region& region) {
    quadUv(a, b, c, d, outward, region.at(0, 0), region.at(1, 0), region.at(1, 1), region.at(0, 1));
}

void Builder::box(V3 lo, V3 hi, const BoxSkin& skin) {
    // Left side (-X): seen from outside, texture x runs toward -Z.
    quad({lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}, {lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {-1, 0, 0},
         skin.side);
    // Right side (+X): texture x runs toward +Z.
    quad({hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {1, 0, 0},
         skin.right.value_or(skin.side));
    if (skin.ends) {
        // Front end (+Z): seen from ahead, texture x runs toward -X.
        quad({hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
             {0, 0, 1}, skin.end);
        quad({lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z},
             {0, 0, -1}, skin.end);
    }
    quad({lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, {0, 1, 0},
         skin.top);
    if (skin.bottom)
        quad({lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z},
             {0, -1, 0}, skin.top);
}

void Builder::wheel(V3 c, float r, float hw, int segments, const Region& face, const Region& rim) {
    for (int i = 0; i < segments; ++i) {
        const float a0 = 2 * pi * static_cast<float>(i) / static_cast<float>(segments);
        const float a1 = 2 * pi * static_cast<float>(i + 1) / static_cast<float>(segments);
        const float s0 = std::sin(a0), c0 = std::cos(a0), s1 = std::sin(a1), c1 = std::cos(a1);
        // Points on the circle: y = r cos a, z = r sin a.
        const V3 p0l{c.x - hw, c.y + r * c0, c.z + r * s0};
        const V3 p1l{c.x - hw, c.y + r * c1, c.z + r * s1};
        const V3 p0r{c.x + hw, c.y + r * c0, c.z + r * s0};
        const V3 p1r{c.x + hw, c.y + r * c1, c.z + r * s1};
        const V3 centreL{c.x - hw, c.y, c.z};
        const V3 centreR{c.x + hw, c.y, c.z};
        // Left disc seen from outside: texture x toward -Z. Right disc: toward +Z.
        triangle(centreL, p0l, p1l, {-1, 0, 0}, face.at(0.5f, 0.5f),
                 face.at(0.5f - 0.5f * s0, 0.5f - 0.5f * c0),
                 face.at(0.5f - 0.5f * s1, 0.5f - 0.5f * c1));
        triangle(centreR, p0r, p1r, {1, 0, 0}, face.at(0.5f, 0.5f),
                 face.at(0.5f + 0.5f * s0, 0.5f - 0.5f * c0),
                 face.at(0.5f + 0.5f * s1, 0.5f - 0.5f * c1));
        // Rim, with normals along the radius so that it shades round.
        const float t0 = static_cast<float>(i) / static_cast<float>(segments);
        const float t1 = static_cast<float>(i + 1) / static_cast<float>(segments);
        const V3 n0{0, c0, s0}, n1{0, c1, s1};
        Batch& out = batch();
        const auto base = static_cast<std::uint32_t>(out.corners.size());
        out.corners.insert(out.corners.end(), {{p0l, n0, rim.at(0, t0)},
                                               {p0r, n0, rim.at(1, t0)},
                                               {p1r, n1, rim.at(1, t1)},
                                               {p1l, n1, rim.at(0, t1)}});
        const V3 mid = normalize(n0 + n1);
        if (dot(cross(p0r - p0l, p1r - p0l), mid) >= 0)
            out.indices.insert(out.indices.end(),
                               {base, base + 1, base + 2, base, base + 2, base + 3});
        else
            out.indices.insert(out.indices.end(),
                               {base, base + 2, base + 1, base, base + 3, base + 2});
    }
}

void Builder::cylinderZ(float x, float y, float z0, float z1, float r, int segments,
                        const Region& rim, const Region* caps) {
    for (int i = 0; i < segments; ++i) {
        const float a0 = 2 * pi * static_cast<float>(i) / static_cast<float>(segments);
        const float a1 = 2 * pi * static_cast<float>(i + 1) / static_cast<float>(segments);
        const V3 n0{std::sin(a0), std::cos(a0), 0}, n1{std::sin(a1), std::cos(a1), 0};
        const V3 p00{x + r * n0.x, y + r * n0.y, z0}, p01{x + r * n0.x, y + r * n0.y, z1};
        const V3 p10{x + r * n1.x, y + r * n1.y, z0}, p11{x + r * n1.x, y + r * n1.y, z1};
        const float t0 = static_cast<float>(i) / static_cast<float>(segments);
        const float t1 = static_cast<float>(i + 1) / static_cast<float>(segments);
        Batch& out = batch();
        const auto base = static_cast<std::uint32_t>(out.corners.size());
        out.corners.insert(out.corners.end(), {{p01, n0, rim.at(0, t0)},
                                               {p00, n0, rim.at(1, t0)},
                                               {p10, n1, rim.at(1, t1)},
                                               {p11, n1, rim.at(0, t1)}});
        const V3 mid = normalize(n0 + n1);
        if (dot(cross(p00 - p01, p10 - p01), mid) >= 0)
            out.indices.insert(out.indices.end(),
                               {base, base + 1, base + 2, base, base + 2, base + 3});
        else
            out.indices.insert(out.indices.end(),
                               {base, base + 2, base + 1, base, base + 3, base + 2});
        if (caps) {
            const V2 c = caps->at(0.5f, 0.5f);
            triangle({x, y, z1}, p01, p11, {0, 0, 1}, c,
                     caps->at(0.5f - 0.5f * n0.x, 0.5f - 0.5f * n0.y),
                     caps->at(0.5f - 0.5f * n1.x, 0.5f - 0.5f * n1.y));
            triangle({x, y, z0}, p00, p10, {0, 0, -1}, c,
                     caps->at(0.5f + 0.5f * n0.x, 0.5f - 0.5f * n0.y),
                     caps->at(0.5f + 0.5f * n1.x, 0.5f - 0.5f * n1.y));
        }
    }
}

void Builder::cylinderY(float x, float z, float y0, float y1, float r0, float r1, int segments,
                        const Region& rim, const Region* cap) {
    for (int i = 0; i < segments; ++i) {
        const float a0 = 2 * pi * static_cast<float>(i) / static_cast<float>(segments);
        const float a1 = 2 * pi * static_cast<float>(i + 1) / static_cast<float>(segments);
        const V3 n0{std::sin(a0), 0, std::cos(a0)}, n1{std::sin(a1), 0, std::cos(a1)};
        const V3 b0{x + r0 * n0.x, y0, z + r0 * n0.z}, b1{x + r0 * n1.x, y0, z + r0 * n1.z};
        const V3 t0{x + r1 * n0.x, y1, z + r1 * n0.z}, t1{x + r1 * n1.x, y1, z + r1 * n1.z};
        const float s0 = static_cast<float>(i) / static_cast<float>(segments);
        const float s1 = static_cast<float>(i + 1) / static_cast<float>(segments);
        Batch& out = batch();
        const auto base = static_cast<std::uint32_t>(out.corners.size());
        out.corners.insert(out.corners.end(), {{t0, n0, rim.at(s0, 0)},
                                               {t1, n1, rim.at(s1, 0)},
                                               {b1, n1, rim.at(s1, 1)},
                                               {b0, n0, rim.at(s0, 1)}});
        const V3 mid = normalize(n0 + n1);
        if (dot(cross(t1 - t0, b1 - t0), mid) >= 0)
            out.indices.insert(out.indices.end(),
                               {base, base + 1, base + 2, base, base + 2, base + 3});
        else
            out.indices.insert(out.indices.end(),
                               {base, base + 2, base + 1, base, base + 3, base + 2});
        if (cap)
            triangle({x, y1, z}, t0, t1, {0, 1, 0}, cap->at(0.5f, 0.5f),
                     cap->at(0.5f + 0.5f * n0.x, 0.5f + 0.5f * n0.z),
                     cap->at(0.5f + 0.5f * n1.x, 0.5f + 0.5f * n1.z));
    }
}

void Builder::roof(float hw, float eaves, float crown, float z0, float z1, int segments,
                   const Region& top, const Region& end) {
    const float rise = std::max(crown - eaves, 0.01f);
    const float radius = (hw * hw + rise * rise) / (2 * rise);
    const float centreY = crown - radius;
    const float half = std::asin(std::min(hw / radius, 1.0f));
    auto pointAt = [&](int i) {
        const float phi = -half + 2 * half * static_cast<float>(i) / static_cast<float>(segments);
        return V3{radius * std::sin(phi), centreY + radius * std::cos(phi), 0};
    };
    for (int i = 0; i < segments; ++i) {
        const V3 a = pointAt(i), b = pointAt(i + 1);
        const V3 na = normalize({a.x, a.y - centreY, 0}), nb = normalize({b.x, b.y - centreY, 0});
        const float s0 = static_cast<float>(i) / static_cast<float>(segments);
        const float s1 = static_cast<float>(i + 1) / static_cast<float>(segments);
        const V3 a0{a.x, a.y, z0}, a1{a.x, a.y, z1}, b0{b.x, b.y, z0}, b1{b.x, b.y, z1};
        Batch& out = batch();
        const auto base = static_cast<std::uint32_t>(out.corners.size());
        out.corners.insert(out.corners.end(), {{a1, na, top.at(s0, 0)},
                                               {b1, nb, top.at(s1, 0)},
                                               {b0, nb, top.at(s1, 1)},
                                               {a0, na, top.at(s0, 1)}});
        const V3 mid = normalize(na + nb);
        if (dot(cross(b1 - a1, b0 - a1), mid) >= 0)
            out.indices.insert(out.indices.end(),
                               {base, base + 1, base + 2, base, base + 2, base + 3});
        else
            out.indices.insert(out.indices.end(),
                               {base, base + 2, base + 1, base, base + 3, base + 2});
        // End segments: a fan from the middle of the eaves line.
        auto endUv = [&](V3 p, bool front) {
            const float s = front ? 0.5f - p.x / (2 * hw) : 0.5f + p.x / (2 * hw);
            return end.at(s, (crown - p.y) / rise);
        };
        const V3 m1{0, eaves, z1}, m0{0, eaves, z0};
        triangle(m1, a1, b1, {0, 0, 1}, endUv(m1, true), endUv(a1, true), endUv(b1, true));
        triangle(m0, a0, b0, {0, 0, -1}, endUv(m0, false), endUv(a0, false), endUv(b0, false));
    }
}

} // namespace sample
