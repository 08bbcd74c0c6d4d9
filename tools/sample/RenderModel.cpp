#include "RenderModel.h"

#include "render/Renderer.h"

#include <algorithm>
#include <numbers>

namespace sample {

render::Model toRenderModel(const std::vector<Placed>& models) {
    render::Model out;
    for (const Placed& placed : models) {
        render::Texture texture;
        texture.levels.push_back(
            {placed.picture->width(), placed.picture->height(), placed.picture->rgba()});
        texture.hasAlpha = placed.picture->hasTransparency();
        texture.completeMipChain();
        const int textureIndex = static_cast<int>(out.textures.size());
        out.textures.push_back(std::make_shared<const render::Texture>(std::move(texture)));

        const auto firstMaterial = static_cast<std::uint32_t>(out.materials.size());
        for (const Material& m : placed.model->materials) {
            render::Material rm;
            rm.texture = textureIndex;
            rm.blend = m.alphaTest ? render::BlendMode::AlphaTest : render::BlendMode::Opaque;
            out.materials.push_back(rm);
        }
        for (std::size_t p = 0; p < placed.model->parts.size(); ++p) {
            const V3 origin = placed.model->partOrigin(static_cast<int>(p)) + placed.offset;
            for (const Batch& batch : placed.model->parts[p].batches) {
                const auto base = static_cast<std::uint32_t>(out.vertices.size());
                for (const Corner& c : batch.corners) {
                    const V3 q = c.position + origin;
                    out.vertices.push_back(
                        {{q.x, q.y, q.z}, {c.normal.x, c.normal.y, c.normal.z}, c.uv.u, c.uv.v});
                }
                render::Primitive primitive;
                primitive.material = firstMaterial + static_cast<std::uint32_t>(batch.material);
                for (std::uint32_t i : batch.indices)
                    primitive.indices.push_back(base + i);
                out.primitives.push_back(std::move(primitive));
            }
        }
    }
    return out;
}

namespace {

render::Mat4 halfTurn() {
    return render::Mat4::rotationY(std::numbers::pi_v<float>);
}

} // namespace

float thumbnailRadius(const Model& model, const Picture& picture) {
    return render::boundingSphere(toRenderModel({{&model, &picture, {}}}), halfTurn()).radius;
}

render::RgbImage thumbnail(const Model& model, const Picture& picture, float length,
                           float referenceRadius, int scale) {
    return thumbnail({{&model, &picture, {}}}, length, referenceRadius, scale);
}

render::RgbImage thumbnail(const std::vector<Placed>& models, float length, float referenceRadius,
                           int scale) {
    if (models.empty())
        return {};
    const render::Model drawn = toRenderModel(models);
    const render::BoundingSphere sphere =
        render::boundingSphere(toRenderModel({models.front()}), halfTurn());
    render::RenderSettings settings;
    settings.width = std::max(16, static_cast<int>(length * 7.415f)) * scale;
    settings.height = 96 * scale;
    settings.background = {148, 198, 239};
    const render::Camera camera = render::Camera::sideView(sphere.centre, 2.4f * referenceRadius);
    return render::renderModel(drawn, halfTurn(), camera, settings);
}

} // namespace sample
