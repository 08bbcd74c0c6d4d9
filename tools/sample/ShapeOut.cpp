#include "ShapeOut.h"

#include "msts/Token.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace sample {

namespace {

// Shared tables keep one copy of each distinct value, as the simulator's exporters do.
template <class Key> class Table {
public:
    std::int32_t index(const Key& key) {
        const auto [it, added] =
            indices_.try_emplace(key, static_cast<std::int32_t>(order_.size()));
        if (added)
            order_.push_back(key);
        return it->second;
    }
    const std::vector<Key>& values() const { return order_; }

private:
    std::map<Key, std::int32_t> indices_;
    std::vector<Key> order_;
};

using Triple = std::tuple<float, float, float>;
using Pair = std::pair<float, float>;

// Rounded so that values differing only in the last bits share an entry.
float tidy(float v) {
    return std::round(v * 1e5f) / 1e5f + 0.0f;
}

} // namespace

msts::Shape toShape(const Model& model) {
    msts::Shape shape;
    shape.filterNames = {"MipLinear"};
    msts::LightModelConfig lightConfig;
    lightConfig.uvOps.push_back({static_cast<std::uint16_t>(msts::Token::UvOpCopy), 1, 0});
    shape.lightModelConfigs.push_back(lightConfig);

    V3 lo, hi;
    model.bounds(lo, hi);
    const V3 centre = (lo + hi) * 0.5f;
    shape.volumes.push_back(
        {{centre.x, centre.y, centre.z}, std::sqrt(dot(hi - centre, hi - centre))});

    Table<std::string> shaders, images;
    for (const Material& m : model.materials) {
        shaders.index(m.shader);
        images.index(m.image);
    }
    shape.shaderNames = shaders.values();
    shape.images = images.values();
    for (std::size_t i = 0; i < shape.images.size(); ++i)
        shape.textures.push_back({static_cast<std::int32_t>(i), 0, 0, 0xff000000u});

    msts::DistanceLevel level;
    level.selection = 2000;
    msts::SubObject sub;
    sub.flags = 0x400;
    sub.sourceVertexFormat = 0x1d9;
    sub.destinationVertexFormat = 0x1d2;
    Table<Triple> points, normals;
    Table<Pair> uvs;
    for (std::size_t p = 0; p < model.parts.size(); ++p) {
        const Part& part = model.parts[p];
        msts::Matrix matrix;
        matrix.name = part.name;
        matrix.m[9] = part.offset.x;
        matrix.m[10] = part.offset.y;
        matrix.m[11] = part.offset.z;
        shape.matrices.push_back(matrix);
        level.hierarchy.push_back(part.parent);

        msts::VtxState state;
        state.matrixIndex = static_cast<std::int32_t>(p);
        state.lightMaterialIndex = -5;
        state.lightConfigIndex = 0;
        state.lightFlags = 2;
        shape.vtxStates.push_back(state);

        // The vertices of one part are contiguous: its vertex_set covers them.
        const auto firstVertex = static_cast<std::int32_t>(sub.vertices.size());
        for (const Batch& batch : part.batches) {
            const Material& material = model.materials[static_cast<std::size_t>(batch.material)];
            msts::PrimState ps;
            ps.name = part.name + "_" + std::to_string(batch.material);
            ps.shaderIndex = shaders.index(material.shader);
            ps.textureIndices = {images.index(material.image)};
            ps.vtxStateIndex = static_cast<std::int32_t>(p);
            ps.alphaTestMode = material.alphaTest ? 1 : 0;
            ps.lightConfigIndex = 0;
            ps.zBufferMode = 1;
            shape.primStates.push_back(ps);

            const auto base = static_cast<std::uint32_t>(sub.vertices.size());
            for (const Corner& c : batch.corners) {
                msts::Vertex vertex;
                vertex.pointIndex =
                    points.index({tidy(c.position.x), tidy(c.position.y), tidy(c.position.z)});
                vertex.normalIndex =
                    normals.index({tidy(c.normal.x), tidy(c.normal.y), tidy(c.normal.z)});
                vertex.uvIndex = uvs.index({tidy(c.uv.u), tidy(c.uv.v)});
                vertex.uvCount = 1;
                vertex.colour1 = 0xffffffffu;
                vertex.colour2 = 0xff000000u;
                sub.vertices.push_back(vertex);
            }
            msts::Primitive primitive;
            primitive.primStateIndex = static_cast<std::int32_t>(shape.primStates.size() - 1);
            for (std::size_t i = 0; i + 2 < batch.indices.size(); i += 3) {
                const V3 a = batch.corners[batch.indices[i]].position;
                const V3 b = batch.corners[batch.indices[i + 1]].position;
                const V3 c = batch.corners[batch.indices[i + 2]].position;
                const V3 n = normalize(cross(b - a, c - a));
                for (std::size_t k = 0; k < 3; ++k)
                    primitive.indices.push_back(base + batch.indices[i + k]);
                primitive.faceNormalIndices.push_back(
                    normals.index({tidy(n.x), tidy(n.y), tidy(n.z)}));
                primitive.flags.push_back(0);
            }
            sub.primitives.push_back(std::move(primitive));
        }
        const auto count = static_cast<std::int32_t>(sub.vertices.size()) - firstVertex;
        if (count > 0)
            sub.vertexSets.push_back({static_cast<std::int32_t>(p), firstVertex, count});
    }
    for (const Triple& t : points.values())
        shape.points.push_back({std::get<0>(t), std::get<1>(t), std::get<2>(t)});
    for (const Triple& t : normals.values())
        shape.normals.push_back({std::get<0>(t), std::get<1>(t), std::get<2>(t)});
    for (const Pair& uv : uvs.values())
        shape.uvPoints.push_back({uv.first, uv.second});
    level.subObjects.push_back(std::move(sub));
    msts::LodControl lod;
    lod.levels.push_back(std::move(level));
    shape.lodControls.push_back(std::move(lod));
    return shape;
}

} // namespace sample
