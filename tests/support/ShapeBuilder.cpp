#include "support/ShapeBuilder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fixtures {

namespace {

msts::Vec3 sub(msts::Vec3 a, msts::Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

msts::Vec3 cross(msts::Vec3 a, msts::Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

msts::Vec3 normalised(msts::Vec3 v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0)
        return {0, 1, 0};
    return {v.x / length, v.y / length, v.z / length};
}

} // namespace

ShapeBuilder::ShapeBuilder() {
    shape_.filterNames = {"MipLinear"};
    shape_.volumes.push_back({{0, 1, 0}, 12});
    msts::LightModelConfig config;
    config.uvOps.push_back({static_cast<std::uint16_t>(84), 1, 0}); // uv_op_copy, wrap
    shape_.lightModelConfigs.push_back(config);
    subObjects_.emplace_back();
}

std::int32_t ShapeBuilder::addPart(const std::string& name, const std::array<float, 12>& matrix,
                                   std::int32_t parent) {
    msts::Matrix m;
    m.name = name;
    m.m = matrix;
    shape_.matrices.push_back(m);
    hierarchy_.push_back(parent);
    return static_cast<std::int32_t>(shape_.matrices.size() - 1);
}

std::int32_t ShapeBuilder::image(const std::string& name) {
    for (std::size_t i = 0; i < shape_.images.size(); ++i)
        if (shape_.images[i] == name)
            return static_cast<std::int32_t>(i);
    shape_.images.push_back(name);
    return static_cast<std::int32_t>(shape_.images.size() - 1);
}

std::int32_t ShapeBuilder::shaderIndex(const std::string& name) {
    for (std::size_t i = 0; i < shape_.shaderNames.size(); ++i)
        if (shape_.shaderNames[i] == name)
            return static_cast<std::int32_t>(i);
    shape_.shaderNames.push_back(name);
    return static_cast<std::int32_t>(shape_.shaderNames.size() - 1);
}

std::int32_t ShapeBuilder::addMaterial(const std::string& imageName, const std::string& shader,
                                       std::int32_t part, std::int32_t alphaTestMode,
                                       std::int32_t lightingCode) {
    msts::VtxState vs;
    vs.matrixIndex = part;
    vs.lightMaterialIndex = lightingCode;
    vs.lightConfigIndex = 0;
    vs.lightFlags = 2;
    shape_.vtxStates.push_back(vs);

    msts::PrimState ps;
    ps.name = imageName.empty() ? "Plain" : imageName.substr(0, imageName.find('.'));
    ps.shaderIndex = shaderIndex(shader);
    if (!imageName.empty()) {
        msts::Texture t;
        t.imageIndex = image(imageName);
        t.filterIndex = 0;
        t.mipLodBias = -3;
        t.borderColour = 0xff000000;
        shape_.textures.push_back(t);
        ps.textureIndices.push_back(static_cast<std::int32_t>(shape_.textures.size() - 1));
    }
    ps.vtxStateIndex = static_cast<std::int32_t>(shape_.vtxStates.size() - 1);
    ps.alphaTestMode = alphaTestMode;
    ps.lightConfigIndex = 0;
    ps.zBufferMode = 1;
    shape_.primStates.push_back(ps);
    return static_cast<std::int32_t>(shape_.primStates.size() - 1);
}

void ShapeBuilder::beginSubObject() {
    subObjects_.emplace_back();
}

std::int32_t ShapeBuilder::point(msts::Vec3 p) {
    shape_.points.push_back(p);
    return static_cast<std::int32_t>(shape_.points.size() - 1);
}

std::int32_t ShapeBuilder::normal(msts::Vec3 n) {
    shape_.normals.push_back(n);
    return static_cast<std::int32_t>(shape_.normals.size() - 1);
}

std::int32_t ShapeBuilder::uvPoint(msts::Vec2 uv) {
    shape_.uvPoints.push_back(uv);
    return static_cast<std::int32_t>(shape_.uvPoints.size() - 1);
}

msts::Primitive& ShapeBuilder::primitiveFor(std::int32_t material) {
    auto& sub = subObjects_.back();
    if (sub.primitives.empty() || sub.primitives.back().primStateIndex != material) {
        sub.primitives.emplace_back();
        sub.primitives.back().primStateIndex = material;
        if (std::find(sub.shaders.begin(), sub.shaders.end(),
                      shape_.primStates[static_cast<std::size_t>(material)].shaderIndex) ==
            sub.shaders.end())
            sub.shaders.push_back(
                shape_.primStates[static_cast<std::size_t>(material)].shaderIndex);
        sub.lightConfigs = {0};
    }
    return sub.primitives.back();
}

std::uint32_t ShapeBuilder::vertex(std::int32_t pointIndex, std::int32_t normalIndex,
                                   std::int32_t uvIndex) {
    auto& sub = subObjects_.back();
    msts::Vertex v;
    v.pointIndex = pointIndex;
    v.normalIndex = normalIndex;
    v.colour1 = 0xff969696;
    v.colour2 = 0xff808080;
    v.uvIndex = uvIndex;
    v.uvCount = 1;
    sub.vertices.push_back(v);
    return static_cast<std::uint32_t>(sub.vertices.size() - 1);
}

void ShapeBuilder::addQuad(std::int32_t material, const std::array<msts::Vec3, 4>& c,
                           const std::array<msts::Vec2, 4>& uvs) {
    const msts::Vec3 n = normalised(cross(sub(c[1], c[0]), sub(c[2], c[0])));
    const std::int32_t face = normal(n);
    primitiveFor(material);
    std::array<std::uint32_t, 4> v{};
    for (std::size_t k = 0; k < 4; ++k)
        v[k] = vertex(point(c[k]), face, uvPoint(uvs[k]));
    auto& p = subObjects_.back().primitives.back();
    for (std::uint32_t i : {v[0], v[1], v[2], v[0], v[2], v[3]})
        p.indices.push_back(i);
    p.faceNormalIndices.push_back(face);
    p.faceNormalIndices.push_back(face);
    p.flags.push_back(0);
    p.flags.push_back(0);
}

void ShapeBuilder::addTriangle(std::int32_t material, const std::array<msts::Vec3, 3>& c,
                               const std::array<msts::Vec2, 3>& uvs) {
    const std::int32_t face = normal(normalised(cross(sub(c[1], c[0]), sub(c[2], c[0]))));
    primitiveFor(material);
    std::array<std::uint32_t, 3> v{};
    for (std::size_t k = 0; k < 3; ++k)
        v[k] = vertex(point(c[k]), face, uvPoint(uvs[k]));
    auto& p = subObjects_.back().primitives.back();
    p.indices.insert(p.indices.end(), v.begin(), v.end());
    p.faceNormalIndices.push_back(face);
    p.flags.push_back(0);
}

void ShapeBuilder::addBox(std::int32_t material, msts::Vec3 a, msts::Vec3 b) {
    const std::array<msts::Vec2, 4> uv{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    // Each face listed so that cross(c1 - c0, c2 - c0) points out of the box.
    addQuad(material, {{{b.x, a.y, a.z}, {b.x, b.y, a.z}, {b.x, b.y, b.z}, {b.x, a.y, b.z}}},
            uv); // +X
    addQuad(material, {{{a.x, a.y, a.z}, {a.x, a.y, b.z}, {a.x, b.y, b.z}, {a.x, b.y, a.z}}},
            uv); // -X
    addQuad(material, {{{a.x, b.y, a.z}, {a.x, b.y, b.z}, {b.x, b.y, b.z}, {b.x, b.y, a.z}}},
            uv); // +Y
    addQuad(material, {{{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, a.y, b.z}, {a.x, a.y, b.z}}},
            uv); // -Y
    addQuad(material, {{{a.x, a.y, b.z}, {b.x, a.y, b.z}, {b.x, b.y, b.z}, {a.x, b.y, b.z}}},
            uv); // +Z
    addQuad(material, {{{a.x, a.y, a.z}, {a.x, b.y, a.z}, {b.x, b.y, a.z}, {b.x, a.y, a.z}}},
            uv); // -Z
}

void ShapeBuilder::addTube(std::int32_t material, float cx, float cy, float radius, float z0,
                           float z1, int sides, int rings) {
    const auto at = [&](int side, int ring) -> msts::Vec3 {
        const double angle = 2 * std::numbers::pi * side / sides;
        return {cx + radius * static_cast<float>(std::cos(angle)),
                cy + radius * static_cast<float>(std::sin(angle)),
                z0 + (z1 - z0) * static_cast<float>(ring) / static_cast<float>(rings)};
    };
    for (int ring = 0; ring < rings; ++ring)
        for (int side = 0; side < sides; ++side) {
            const float u0 = static_cast<float>(side) / static_cast<float>(sides);
            const float u1 = static_cast<float>(side + 1) / static_cast<float>(sides);
            const float v0 = static_cast<float>(ring) / static_cast<float>(rings);
            const float v1 = static_cast<float>(ring + 1) / static_cast<float>(rings);
            // Going round counter-clockwise seen from +Z, this order faces outward.
            addQuad(
                material,
                {at(side, ring), at(side + 1, ring), at(side + 1, ring + 1), at(side, ring + 1)},
                {{{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}}});
        }
}

std::size_t ShapeBuilder::triangleCount() const {
    std::size_t n = 0;
    for (const auto& sub : subObjects_)
        for (const auto& p : sub.primitives)
            n += p.indices.size() / 3;
    return n;
}

msts::Shape ShapeBuilder::build() const {
    msts::Shape s = shape_;
    if (s.matrices.empty()) {
        msts::Matrix m;
        m.name = "MAIN";
        s.matrices.push_back(m);
    }
    msts::DistanceLevel detailed;
    detailed.selection = 200;
    detailed.hierarchy = hierarchy_.empty() ? std::vector<std::int32_t>{-1} : hierarchy_;
    for (const auto& sub : subObjects_) {
        if (sub.primitives.empty())
            continue;
        msts::SubObject copy = sub;
        // vertex_sets: one per primitive's vtx_state over the whole vertex range keeps the
        // file consistent without tracking ranges per material.
        copy.vertexSets.clear();
        msts::VertexSet set;
        set.vtxStateIndex =
            s.primStates[static_cast<std::size_t>(sub.primitives.front().primStateIndex)]
                .vtxStateIndex;
        set.firstVertex = 0;
        set.vertexCount = static_cast<std::int32_t>(sub.vertices.size());
        copy.vertexSets.push_back(set);
        copy.id = static_cast<std::int32_t>(detailed.subObjects.size());
        detailed.subObjects.push_back(std::move(copy));
    }
    msts::LodControl lod;
    lod.levels.push_back(detailed);
    if (coarseLevel_ && !s.primStates.empty()) {
        // A far level made of one big box in the first material.
        ShapeBuilder far;
        far.shape_ = s;
        far.hierarchy_ = detailed.hierarchy;
        far.subObjects_.assign(1, {});
        far.addBox(0, {-3, -3, -30}, {3, 6, 30});
        msts::Shape farShape = far.build();
        s.points = farShape.points;
        s.normals = farShape.normals;
        s.uvPoints = farShape.uvPoints;
        msts::DistanceLevel coarse = farShape.lodControls[0].levels[0];
        coarse.selection = 2000;
        lod.levels.push_back(coarse);
    }
    s.lodControls.push_back(lod);
    return s;
}

msts::Shape sampleShape() {
    ShapeBuilder b;
    const auto body = b.addPart("BODY", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0.25f, 0}, -1);
    const auto wheels = b.addPart("WHEELS1", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0.5f, 3}, body);
    const auto paint = b.addMaterial("Sample_Body.ace", "TexDiff", body);
    const auto glass = b.addMaterial("Sample_Glass.ACE", "BlendATexDiff", wheels, 1, -8);
    b.addBox(paint, {-1.4f, 0.5f, -6}, {1.4f, 3.8f, 6});
    b.beginSubObject();
    b.addQuad(glass, {{{1.5f, 1, -1}, {1.5f, 2, -1}, {1.5f, 2, 1}, {1.5f, 1, 1}}},
              {{{0, 1}, {0, 0}, {1, 0}, {1, 1}}});
    b.addBox(paint, {-0.6f, -0.5f, -0.6f}, {0.6f, 0.5f, 0.6f});
    b.setCoarseLevel(true);
    return b.build();
}

msts::Shape chainShape() {
    ShapeBuilder b;
    const auto body = b.addPart("BODY", {1, 0, 0, 0, 1, 0, 0, 0, 1, 4, 0, 0}, -1);
    // A quarter turn about +Y: x -> -z, z -> +x (rows are the images of the axes).
    const auto arm = b.addPart("ARM", {0, 0, -1, 0, 1, 0, 1, 0, 0, 0, 1, 0}, body);
    const auto hand = b.addPart("HAND", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 2}, arm);
    const auto m = b.addMaterial("", "Tex", hand);
    b.addTriangle(m, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {{{0, 0}, {1, 0}, {1, 1}}});
    return b.build();
}

msts::Shape generatedShape(std::size_t triangles) {
    ShapeBuilder b;
    const auto body = b.addPart("MAIN", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, -1);
    const auto bogie1 = b.addPart("BOGIE1", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0.5f, 7}, body);
    const auto bogie2 = b.addPart("BOGIE2", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0.5f, -7}, body);
    const auto paint = b.addMaterial("Gen_Body.ace", "TexDiff", body);
    const auto roof = b.addMaterial("Gen_Roof.ace", "TexDiff", body);
    const auto glass = b.addMaterial("Gen_Glass.ace", "BlendATexDiff", body, 0, -5);
    const auto running = b.addMaterial("Gen_Bogie.ace", "TexDiff", bogie1);
    const auto running2 = b.addMaterial("Gen_Bogie.ace", "TexDiff", bogie2);
    // Most triangles in the body tube: 2 per facet.
    const std::size_t tubeTriangles = triangles > 200 ? triangles - 200 : triangles;
    const int sides = 64;
    const int rings = std::max(1, static_cast<int>(tubeTriangles / (2 * sides) / 2));
    b.addTube(paint, 0, 2.2f, 1.5f, -10, 0, sides, rings);
    b.beginSubObject();
    b.addTube(roof, 0, 2.2f, 1.5f, 0, 10, sides, rings);
    b.beginSubObject();
    for (int i = 0; i < 8; ++i) {
        const float z = -9 + 2.4f * static_cast<float>(i);
        b.addBox(glass, {1.45f, 2.4f, z}, {1.55f, 3.1f, z + 1.6f});
    }
    b.beginSubObject();
    b.addBox(running, {-1.2f, -0.5f, -1.5f}, {1.2f, 0.5f, 1.5f});
    b.addBox(running2, {-1.2f, -0.5f, -1.5f}, {1.2f, 0.5f, 1.5f});
    return b.build();
}

} // namespace fixtures
