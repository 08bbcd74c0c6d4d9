// Fuzz target: the renderer behind the shape reader and the mesh builder, as the preview
// drives it: shape bytes in, a small picture out, viewed from the shape's own sphere.

#include "msts/ShapeMesh.h"
#include "msts/ShapeReader.h"
#include "render/Camera.h"
#include "render/Renderer.h"
#include "render/ShapeModel.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    const auto result = msts::readShape(bytes);
    if (!result.ok())
        return 0;
    const msts::Mesh mesh = msts::buildMesh(result.shape);
    // Every texture stands as one small checker, so that sampling runs too.
    const render::Model model =
        render::modelFromMesh(mesh, [](const std::string&) -> std::optional<msts::AceImage> {
            msts::AceImage image;
            msts::AceLevel level;
            level.width = 4;
            level.height = 4;
            level.rgba.resize(4 * 4 * 4);
            for (std::size_t i = 0; i < level.rgba.size(); ++i)
                level.rgba[i] = std::uint8_t((i / 4 + i / 16) % 2 ? 255 : (i % 4 == 3 ? 0 : 40));
            image.levels.push_back(std::move(level));
            image.hasAlpha = true;
            return image;
        });
    const render::Mat4 world = render::Mat4::rotationY(3.1415925f);
    const render::BoundingSphere sphere = render::boundingSphere(model, world);
    const render::Camera camera = render::Camera::sideView(sphere.centre, 2.4f * sphere.radius);
    render::RenderSettings settings;
    settings.width = 24;
    settings.height = 12;
    settings.samplesPerAxis = 2;
    render::RenderStats stats;
    const render::RgbImage picture = render::renderModel(model, world, camera, settings, &stats);
    if (picture.rgb.size() != std::size_t(24 * 12 * 3))
        __builtin_trap();
    return 0;
}
