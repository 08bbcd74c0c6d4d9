#include "render/ShapeModel.h"

#include <map>

namespace render {

namespace {

constexpr Rgb kNeutralGrey{128, 128, 128};

Vec3 toVec3(msts::Vec3 v) {
    return {v.x, v.y, v.z};
}

Material materialFor(const msts::Material& m, const Texture* texture, bool maskOnly) {
    Material r;
    r.colour = kNeutralGrey;
    const bool alphaTested = m.alphaTestMode == 1;
    r.blend = alphaTested ? BlendMode::AlphaTest : BlendMode::Opaque;
    // Blending needs a texture that really carries alpha; a mere 1-bit mask on an
    // alpha-tested material keeps its hard holes.
    const bool blendable = texture && texture->hasAlpha && !(maskOnly && alphaTested);
    if ((m.isBlended() || m.isAdditive()) && blendable)
        r.blend = m.isAdditive() ? BlendMode::Additive : BlendMode::AlphaBlend;
    r.lit = m.isLit();
    if (m.lightingCode == -12)
        r.brightness = 0.5f;
    else if (m.lightingCode == -11)
        r.brightness = 0.7f;
    return r;
}

} // namespace

Texture textureFromAce(const msts::AceImage& image) {
    Texture t;
    for (const msts::AceLevel& level : image.levels)
        t.levels.push_back(TextureLevel{int(level.width), int(level.height), level.rgba});
    t.hasAlpha = image.hasAlpha;
    if (!t.valid())
        return {};
    t.completeMipChain();
    return t;
}

Model modelFromMesh(const msts::Mesh& mesh, const TextureProvider& textures) {
    Model model;
    std::map<std::string, int> textureIndex; // image name -> index, -1 when unavailable
    std::vector<bool> maskOnly;
    for (const msts::Material& m : mesh.materials) {
        int index = -1;
        if (!m.imageName.empty()) {
            auto found = textureIndex.find(m.imageName);
            if (found == textureIndex.end()) {
                std::optional<msts::AceImage> image;
                if (textures)
                    image = textures(m.imageName);
                if (image) {
                    Texture t = textureFromAce(*image);
                    if (t.valid()) {
                        index = int(model.textures.size());
                        model.textures.push_back(std::move(t));
                        maskOnly.push_back(image->hasMask);
                    }
                }
                found = textureIndex.emplace(m.imageName, index).first;
            }
            index = found->second;
        }
        const Texture* texture = index >= 0 ? &model.textures[std::size_t(index)] : nullptr;
        Material material = materialFor(m, texture, texture && maskOnly[std::size_t(index)]);
        material.texture = index;
        model.materials.push_back(material);
    }

    model.primitives.resize(mesh.materials.size());
    for (std::size_t i = 0; i < model.primitives.size(); ++i)
        model.primitives[i].material = std::uint32_t(i);
    model.vertices.reserve(mesh.triangles.size() * 3);
    for (const msts::MeshTriangle& t : mesh.triangles) {
        if (t.material >= model.primitives.size())
            continue;
        Primitive& p = model.primitives[t.material];
        for (const msts::MeshCorner& c : t.corners) {
            p.indices.push_back(std::uint32_t(model.vertices.size()));
            model.vertices.push_back(Vertex{toVec3(c.position), toVec3(c.normal), c.uv.u, c.uv.v});
        }
    }
    return model;
}

} // namespace render
