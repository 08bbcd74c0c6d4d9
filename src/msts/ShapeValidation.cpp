#include "msts/ShapeReader.h"

#include <string>
#include <string_view>

namespace msts {

namespace {

template <typename T> bool inRange(std::int32_t index, const std::vector<T>& table) {
    return index >= 0 && static_cast<std::size_t>(index) < table.size();
}

class Validator {
public:
    Validator(Shape& shape, Diagnostics& diagnostics) : s_(shape), d_(diagnostics) {}

    void run() {
        for (std::size_t i = 0; i < s_.textures.size(); ++i)
            check(s_.textures[i].imageIndex, s_.images, "texture " + std::to_string(i) + " image");
        for (std::size_t i = 0; i < s_.vtxStates.size(); ++i) {
            auto& v = s_.vtxStates[i];
            check(v.matrixIndex, s_.matrices, "vtx_state " + std::to_string(i) + " matrix");
            if (v.matrix2Index != -1)
                check(v.matrix2Index, s_.matrices, "vtx_state " + std::to_string(i) + " matrix2");
        }
        for (std::size_t i = 0; i < s_.primStates.size(); ++i) {
            auto& p = s_.primStates[i];
            const std::string where = "prim_state " + std::to_string(i);
            check(p.shaderIndex, s_.shaderNames, where + " shader");
            check(p.vtxStateIndex, s_.vtxStates, where + " vtx_state");
            for (auto& t : p.textureIndices)
                check(t, s_.textures, where + " texture");
        }
        for (auto& lod : s_.lodControls)
            for (auto& level : lod.levels) {
                hierarchy(level.hierarchy);
                for (auto& sub : level.subObjects)
                    subObject(sub);
            }
        std::size_t triangles = 0;
        for (const auto& lod : s_.lodControls)
            for (const auto& level : lod.levels)
                for (const auto& sub : level.subObjects)
                    for (const auto& p : sub.primitives)
                        triangles += p.indices.size() / 3;
        if (triangles == 0)
            d_.warn(DiagCode::NoGeometry, 0, "no triangles");
    }

private:
    // An index outside its table becomes -1 ("none") and is reported. The description is a
    // view: it is checked once per vertex, and made into text only when something is wrong.
    template <typename T>
    void check(std::int32_t& index, const std::vector<T>& table, std::string_view what) {
        if (index != -1 && !inRange(index, table))
            outOfRange(index, table.size(), what);
    }

    void outOfRange(std::int32_t& index, std::size_t tableSize, std::string_view what) {
        d_.warn(DiagCode::IndexOutOfRange, 0,
                std::string(what) + " index " + std::to_string(index) + " of " +
                    std::to_string(tableSize));
        index = -1;
    }

    void hierarchy(std::vector<std::int32_t>& parents) {
        if (parents.size() != s_.matrices.size())
            d_.warn(DiagCode::HierarchyLengthMismatch, 0,
                    std::to_string(parents.size()) + " entries for " +
                        std::to_string(s_.matrices.size()) + " matrices");
        for (std::size_t i = 0; i < parents.size(); ++i) {
            auto& p = parents[i];
            if (p != -1 && (p < 0 || static_cast<std::size_t>(p) >= parents.size())) {
                d_.warn(DiagCode::IndexOutOfRange, 0,
                        "hierarchy parent " + std::to_string(p) + " of matrix " +
                            std::to_string(i));
                p = -1;
            }
        }
        // Walk up from every part; a link back into the chain walked so far closes a
        // loop, and a chain that is too long is cut, both at the last link followed.
        std::vector<char> onPath(parents.size(), 0);
        std::vector<std::size_t> path;
        for (std::size_t start = 0; start < parents.size(); ++start) {
            std::size_t node = start;
            path.assign(1, start);
            onPath[start] = 1;
            for (int depth = 0;; ++depth) {
                const std::int32_t parent = parents[node];
                if (parent < 0)
                    break;
                const auto next = static_cast<std::size_t>(parent);
                if (onPath[next]) {
                    d_.warn(DiagCode::CyclicHierarchy, 0,
                            "matrix " + std::to_string(node) + " closes a loop");
                    parents[node] = -1;
                    break;
                }
                if (depth >= maxHierarchyDepth) {
                    d_.warn(DiagCode::HierarchyTooDeep, 0,
                            "chain from matrix " + std::to_string(start));
                    parents[node] = -1;
                    break;
                }
                onPath[next] = 1;
                path.push_back(next);
                node = next;
            }
            for (const auto n : path)
                onPath[n] = 0;
        }
    }

    void subObject(SubObject& sub) {
        for (auto& v : sub.vertices) {
            check(v.pointIndex, s_.points, "vertex point");
            check(v.normalIndex, s_.normals, "vertex normal");
            check(v.uvIndex, s_.uvPoints, "vertex uv");
        }
        for (auto& set : sub.vertexSets) {
            check(set.vtxStateIndex, s_.vtxStates, "vertex_set vtx_state");
            const auto first = static_cast<std::int64_t>(set.firstVertex);
            const auto count = static_cast<std::int64_t>(set.vertexCount);
            if (first < 0 || count < 0 ||
                first + count > static_cast<std::int64_t>(sub.vertices.size())) {
                d_.warn(DiagCode::IndexOutOfRange, 0, "vertex_set range");
                set.firstVertex = 0;
                set.vertexCount = 0;
            }
        }
        for (auto& p : sub.primitives)
            primitive(p, sub);
    }

    void primitive(Primitive& p, const SubObject& sub) {
        check(p.primStateIndex, s_.primStates, "primitive prim_state");
        if (p.indices.size() % 3 != 0) {
            d_.warn(DiagCode::BadTriangleList, 0,
                    std::to_string(p.indices.size()) + " indices is not whole triangles");
            p.indices.resize(p.indices.size() / 3 * 3);
        }
        const std::size_t triangles = p.indices.size() / 3;
        if (p.faceNormalIndices.size() != triangles || p.flags.size() != triangles)
            d_.warn(DiagCode::CountMismatch, 0, "trilist normals or flags vs triangles");
        p.faceNormalIndices.resize(triangles, -1);
        p.flags.resize(triangles, 0);
        // Keep only triangles whose three corners name a vertex with a point.
        std::size_t kept = 0;
        for (std::size_t t = 0; t < triangles; ++t) {
            bool good = true;
            for (std::size_t k = 0; k < 3; ++k) {
                const std::uint32_t vi = p.indices[t * 3 + k];
                if (vi >= sub.vertices.size() || sub.vertices[vi].pointIndex < 0)
                    good = false;
            }
            if (!good) {
                d_.warn(DiagCode::IndexOutOfRange, 0,
                        "triangle " + std::to_string(t) + " names a missing vertex");
                continue;
            }
            check(p.faceNormalIndices[t], s_.normals, "face normal");
            if (kept != t) {
                for (std::size_t k = 0; k < 3; ++k)
                    p.indices[kept * 3 + k] = p.indices[t * 3 + k];
                p.faceNormalIndices[kept] = p.faceNormalIndices[t];
                p.flags[kept] = p.flags[t];
            }
            ++kept;
        }
        p.indices.resize(kept * 3);
        p.faceNormalIndices.resize(kept);
        p.flags.resize(kept);
    }

    Shape& s_;
    Diagnostics& d_;
};

} // namespace

void validateShape(Shape& shape, Diagnostics& diagnostics) {
    Validator(shape, diagnostics).run();
}

} // namespace msts
