#include "render/ShapeModel.h"

#include <limits>
#include <map>
#include <vector>

namespace render {

namespace {

constexpr Rgb kNeutralGrey{128, 128, 128};

Vec3 toVec3(msts::Vec3 v) {
    return {v.x, v.y, v.z};
}

Material materialFor(const msts::Material& m, const Texture* texture) {
    Material r;
    r.colour = kNeutralGrey;
    const bool alphaTested = m.alphaTestMode == 1;
    r.blend = alphaTested ? BlendMode::AlphaTest : BlendMode::Opaque;
    // Blending needs a texture that really carries alpha; a mere 1-bit mask on an
    // alpha-tested material keeps its hard holes.
    const bool blendable = texture && texture->hasAlpha && !(texture->alphaFromMask && alphaTested);
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
    return textureFromAce(msts::AceImage(image));
}

Texture textureFromAce(msts::AceImage&& image) {
    Texture t;
    for (msts::AceLevel& level : image.levels)
        t.levels.push_back(
            TextureLevel{int(level.width), int(level.height), std::move(level.rgba)});
    t.hasAlpha = image.hasAlpha;
    t.alphaFromMask = image.hasMask;
    t.firstLevel = int(image.firstLevel);
    t.fullWidth = int(image.width);
    t.fullHeight = int(image.height);
    if (!t.valid())
        return {};
    t.completeMipChain();
    return t;
}

void ShapeModel::setTexture(std::size_t slot, std::shared_ptr<const Texture> texture) {
    if (slot >= model.textures.size())
        return;
    model.textures[slot] = std::move(texture);
    for (std::size_t i = 0; i < model.materials.size() && i < materials.size(); ++i)
        if (model.materials[i].texture == int(slot)) {
            model.materials[i] = materialFor(materials[i], model.textures[slot].get());
            model.materials[i].texture = int(slot);
        }
}

ShapeModel shapeModelFromMesh(const msts::Mesh& mesh) {
    ShapeModel shape;
    Model& model = shape.model;
    shape.materials = mesh.materials;
    std::map<std::string, int> slots; // image name -> slot
    for (const msts::Material& m : mesh.materials) {
        int slot = -1;
        if (!m.imageName.empty()) {
            auto found = slots.find(m.imageName);
            if (found == slots.end()) {
                found = slots.emplace(m.imageName, int(shape.imageNames.size())).first;
                shape.imageNames.push_back(m.imageName);
            }
            slot = found->second;
        }
        Material material = materialFor(m, nullptr);
        material.texture = slot;
        model.materials.push_back(material);
    }
    model.textures.resize(shape.imageNames.size());

    model.primitives.resize(mesh.materials.size());
    for (std::size_t i = 0; i < model.primitives.size(); ++i)
        model.primitives[i].material = std::uint32_t(i);
    model.vertices.reserve(mesh.vertexCount > 0 ? std::size_t(mesh.vertexCount)
                                                : mesh.triangles.size() * 3);
    std::vector<std::size_t> corners(model.primitives.size(), 0);
    for (const msts::MeshTriangle& t : mesh.triangles)
        if (t.material < corners.size())
            corners[t.material] += 3;
    for (std::size_t i = 0; i < corners.size(); ++i)
        model.primitives[i].indices.reserve(corners[i]);
    // One model vertex per mesh vertex, in the order the triangles first meet them; corners
    // the mesh did not number are a vertex each.
    constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> vertexOf(mesh.vertexCount, none);
    for (const msts::MeshTriangle& t : mesh.triangles) {
        if (t.material >= model.primitives.size())
            continue;
        Primitive& p = model.primitives[t.material];
        for (const msts::MeshCorner& c : t.corners) {
            std::uint32_t* known = c.vertex < vertexOf.size() ? &vertexOf[c.vertex] : nullptr;
            if (!known || *known == none) {
                const auto index = std::uint32_t(model.vertices.size());
                model.vertices.push_back(
                    Vertex{toVec3(c.position), toVec3(c.normal), c.uv.u, c.uv.v});
                if (known)
                    *known = index;
                p.indices.push_back(index);
            } else {
                p.indices.push_back(*known);
            }
        }
    }
    return shape;
}

Model modelFromMesh(const msts::Mesh& mesh, const TextureProvider& textures) {
    ShapeModel shape = shapeModelFromMesh(mesh);
    for (std::size_t slot = 0; slot < shape.imageNames.size(); ++slot) {
        std::optional<msts::AceImage> image;
        if (textures)
            image = textures(shape.imageNames[slot]);
        if (!image)
            continue;
        Texture t = textureFromAce(*image);
        if (t.valid())
            shape.setTexture(slot, std::make_shared<const Texture>(std::move(t)));
    }
    return std::move(shape.model);
}

} // namespace render
