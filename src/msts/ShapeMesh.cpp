#include "msts/ShapeMesh.h"

#include "msts/ShapeReader.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <unordered_map>

namespace msts {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// a then b: the row-vector product a * b.
Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    const auto& x = a.m;
    const auto& y = b.m;
    for (int row = 0; row < 4; ++row) {
        const float p = x[row * 3 + 0], q = x[row * 3 + 1], s = x[row * 3 + 2];
        const float w = row == 3 ? 1.0f : 0.0f;
        for (int col = 0; col < 3; ++col)
            r.m[row * 3 + col] = p * y[col] + q * y[3 + col] + s * y[6 + col] + w * y[9 + col];
    }
    return r;
}

template <typename T> const T* at(const std::vector<T>& v, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= v.size())
        return nullptr;
    return &v[static_cast<std::size_t>(index)];
}

const DistanceLevel* mostDetailed(const LodControl& lod) {
    const DistanceLevel* best = nullptr;
    for (const auto& level : lod.levels)
        if (!best || level.selection < best->selection)
            best = &level;
    return best;
}

Material materialFor(const Shape& shape, std::int32_t primStateIndex) {
    Material m;
    m.primStateIndex = primStateIndex;
    const PrimState* ps = at(shape.primStates, primStateIndex);
    if (!ps)
        return m;
    m.alphaTestMode = ps->alphaTestMode;
    m.zBias = ps->zBias;
    if (const auto* name = at(shape.shaderNames, ps->shaderIndex)) {
        m.shaderName = *name;
        m.shader = shaderKindFromName(*name);
    }
    if (!ps->textureIndices.empty())
        if (const auto* tex = at(shape.textures, ps->textureIndices.front()))
            if (const auto* image = at(shape.images, tex->imageIndex))
                m.imageName = *image;
    if (const auto* vs = at(shape.vtxStates, ps->vtxStateIndex))
        m.lightingCode = vs->lightMaterialIndex;
    return m;
}

} // namespace

ShaderKind shaderKindFromName(std::string_view name) {
    static constexpr std::pair<std::string_view, ShaderKind> kinds[] = {
        {"Tex", ShaderKind::Tex},
        {"TexDiff", ShaderKind::TexDiff},
        {"BlendATex", ShaderKind::BlendATex},
        {"BlendATexDiff", ShaderKind::BlendATexDiff},
        {"AddATex", ShaderKind::AddATex},
        {"AddATexDiff", ShaderKind::AddATexDiff},
    };
    for (const auto& [text, kind] : kinds)
        if (equalsNoCase(text, name))
            return kind;
    return ShaderKind::Unknown;
}

bool Material::isBlended() const {
    return shader == ShaderKind::BlendATex || shader == ShaderKind::BlendATexDiff;
}

bool Material::isAdditive() const {
    return shader == ShaderKind::AddATex || shader == ShaderKind::AddATexDiff;
}

bool Material::isLit() const {
    const bool diffuseShader = shader == ShaderKind::TexDiff ||
                               shader == ShaderKind::BlendATexDiff ||
                               shader == ShaderKind::AddATexDiff || shader == ShaderKind::Unknown;
    return diffuseShader && lightingCode != -8;
}

Bounds Mesh::bounds() const {
    Bounds b;
    for (const auto& t : triangles)
        for (const auto& c : t.corners) {
            const Vec3 p = c.position;
            if (b.empty) {
                b.min = b.max = p;
                b.empty = false;
                continue;
            }
            b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
            b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
        }
    return b;
}

Vec3 transformPoint(const Matrix& matrix, Vec3 p) {
    const auto& m = matrix.m;
    return {p.x * m[0] + p.y * m[3] + p.z * m[6] + m[9],
            p.x * m[1] + p.y * m[4] + p.z * m[7] + m[10],
            p.x * m[2] + p.y * m[5] + p.z * m[8] + m[11]};
}

Vec3 transformDirection(const Matrix& matrix, Vec3 d) {
    const auto& m = matrix.m;
    return {d.x * m[0] + d.y * m[3] + d.z * m[6], d.x * m[1] + d.y * m[4] + d.z * m[7],
            d.x * m[2] + d.y * m[5] + d.z * m[8]};
}

Matrix composeMatrix(const Shape& shape, const std::vector<std::int32_t>& hierarchy,
                     std::int32_t matrixIndex, bool keepRootTranslation) {
    Matrix world;
    std::int32_t index = matrixIndex;
    for (int depth = 0; depth <= maxHierarchyDepth; ++depth) {
        const Matrix* own = at(shape.matrices, index);
        if (!own)
            break;
        const std::int32_t* parentSlot = at(hierarchy, index);
        const std::int32_t parent = parentSlot ? *parentSlot : -1;
        Matrix local = *own;
        // The simulator ignores the root part's placement, so a vehicle modelled away from
        // its origin still stands on it.
        if (parent < 0 && index == 0 && !keepRootTranslation)
            local.m[9] = local.m[10] = local.m[11] = 0;
        world = multiply(world, local);
        if (parent < 0)
            break;
        index = parent;
    }
    world.name.clear();
    return world;
}

Mesh buildMesh(const Shape& shape, const MeshOptions& options) {
    Mesh mesh;
    std::unordered_map<std::int32_t, std::uint32_t> materialOf;
    const auto materialIndex = [&](std::int32_t primState) {
        const auto [it, added] =
            materialOf.emplace(primState, static_cast<std::uint32_t>(mesh.materials.size()));
        if (added)
            mesh.materials.push_back(materialFor(shape, primState));
        return it->second;
    };

    // Room for the triangles at once: shapes hold tens of thousands. Bounded, since a hostile
    // file's indices may name no usable vertex at all.
    std::size_t expected = 0;
    for (const auto& lod : shape.lodControls)
        if (const DistanceLevel* level = mostDetailed(lod))
            for (const SubObject& sub : level->subObjects)
                for (const auto& prim : sub.primitives)
                    expected += prim.indices.size() / 3;
    mesh.triangles.reserve(std::min<std::size_t>(expected, std::size_t(1) << 20));

    // A sub-object's vertex is worked out once per part placement: the primitives of a
    // sub-object that share a placement share its corners. `placed[vi]` holds the run of
    // primitives, one sub-object under one placement, that corners[vi] was worked out for.
    std::vector<std::uint32_t> placed;
    std::vector<MeshCorner> corners;
    std::uint32_t run = 0;

    for (const auto& lod : shape.lodControls) {
        const DistanceLevel* level = mostDetailed(lod);
        if (!level)
            continue;
        // Each part's world matrix once per level.
        std::vector<Matrix> world;
        world.reserve(shape.matrices.size());
        for (std::size_t i = 0; i < shape.matrices.size(); ++i)
            world.push_back(composeMatrix(shape, level->hierarchy, static_cast<std::int32_t>(i),
                                          options.keepRootTranslation));
        const Matrix identity;

        for (std::size_t s = 0; s < level->subObjects.size(); ++s) {
            if (options.skipNightSubObject && s == 1)
                continue;
            const SubObject& sub = level->subObjects[s];
            if (placed.size() < sub.vertices.size()) {
                placed.resize(sub.vertices.size(), 0);
                corners.resize(sub.vertices.size());
            }
            const Matrix* runMatrix = nullptr;
            for (const auto& prim : sub.primitives) {
                const PrimState* ps = at(shape.primStates, prim.primStateIndex);
                const VtxState* vs = ps ? at(shape.vtxStates, ps->vtxStateIndex) : nullptr;
                const Matrix* m = vs ? at(world, vs->matrixIndex) : nullptr;
                const Matrix& toWorld = m ? *m : identity;
                if (!runMatrix || &toWorld != runMatrix) {
                    ++run;
                    runMatrix = &toWorld;
                }
                const std::uint32_t material = materialIndex(prim.primStateIndex);
                const std::size_t triangles = prim.indices.size() / 3;
                for (std::size_t t = 0; t < triangles; ++t) {
                    MeshTriangle tri{};
                    tri.material = material;
                    bool complete = true;
                    for (std::size_t k = 0; k < 3; ++k) {
                        const std::uint32_t vi = prim.indices[t * 3 + k];
                        if (vi >= sub.vertices.size()) {
                            complete = false;
                            break;
                        }
                        const Vertex& v = sub.vertices[vi];
                        const Vec3* p = at(shape.points, v.pointIndex);
                        if (!p) {
                            complete = false;
                            break;
                        }
                        MeshCorner& c = corners[vi];
                        if (placed[vi] != run) {
                            placed[vi] = run;
                            c = MeshCorner{};
                            c.position = transformPoint(toWorld, *p);
                            if (const Vec3* n = at(shape.normals, v.normalIndex))
                                c.normal = transformDirection(toWorld, *n);
                            if (const Vec2* uv = at(shape.uvPoints, v.uvIndex))
                                c.uv = *uv;
                            c.vertex = mesh.vertexCount++;
                        }
                        tri.corners[k] = c;
                    }
                    if (!complete)
                        continue;
                    if (t < prim.faceNormalIndices.size())
                        if (const Vec3* n = at(shape.normals, prim.faceNormalIndices[t]))
                            tri.faceNormal = transformDirection(toWorld, *n);
                    mesh.triangles.push_back(tri);
                }
            }
        }
    }
    return mesh;
}

} // namespace msts
