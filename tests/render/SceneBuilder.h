#pragma once

// Small models of our own for the renderer tests: textured quads and a box "vehicle" whose
// front (+Z), roof and left-side lettering can be told apart in the picture.

#include "render/Camera.h"
#include "render/Model.h"
#include "render/Renderer.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace testscene {

inline constexpr render::Rgb kBackground{148, 198, 239};

// A texture drawn by a function of the texel position, with its mip chain.
inline std::shared_ptr<const render::Texture>
makeTexture(int w, int h, const std::function<render::Rgb(int x, int y)>& colour,
            const std::function<std::uint8_t(int x, int y)>& alpha = {}) {
    render::TextureLevel level{w, h, {}};
    level.rgba.resize(std::size_t(w) * std::size_t(h) * 4);
    bool hasAlpha = false;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const render::Rgb c = colour(x, y);
            const std::uint8_t a = alpha ? alpha(x, y) : 255;
            hasAlpha = hasAlpha || a != 255;
            std::uint8_t* p = &level.rgba[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = a;
        }
    render::Texture t;
    t.levels.push_back(std::move(level));
    t.hasAlpha = hasAlpha;
    t.completeMipChain();
    return std::make_shared<const render::Texture>(std::move(t));
}

inline std::uint32_t addMaterial(render::Model& m, render::Material material) {
    m.materials.push_back(material);
    return std::uint32_t(m.materials.size() - 1);
}

// A quad seen from outside with topLeft, topRight, bottomRight, bottomLeft in that order;
// u runs from left to right and v from top to bottom as the viewer sees them.
inline void addQuad(render::Model& m, render::Vec3 tl, render::Vec3 tr, render::Vec3 br,
                    render::Vec3 bl, render::Vec3 normal, std::uint32_t material) {
    const auto base = std::uint32_t(m.vertices.size());
    m.vertices.push_back({tl, normal, 0, 0});
    m.vertices.push_back({tr, normal, 1, 0});
    m.vertices.push_back({br, normal, 1, 1});
    m.vertices.push_back({bl, normal, 0, 1});
    render::Primitive p;
    p.material = material;
    p.indices = {base, base + 1, base + 2, base, base + 2, base + 3};
    m.primitives.push_back(std::move(p));
}

struct VehicleColours {
    render::Rgb lettering{200, 30, 30}; // left half of the side texture, upper half
    render::Rgb body{40, 40, 160};      // the rest of the side texture
    render::Rgb skirt{230, 200, 0};     // lower half of the side texture
};

// A 20 m box on the Z axis (front at +Z), 3 m wide, from 0.5 to 4 m high. Both sides carry
// one texture, mapped so that a viewer outside reads it from left to right: lettering in
// its upper-left quarter, a skirt along its bottom half. Ends and roof are plain grey.
inline render::Model vehicle(const VehicleColours& c = {}) {
    render::Model m;
    m.textures.push_back(makeTexture(64, 32, [&](int x, int y) {
        if (y >= 16)
            return c.skirt;
        return x < 32 ? c.lettering : c.body;
    }));
    render::Material side;
    side.texture = 0;
    const auto sideMat = addMaterial(m, side);
    render::Material plain;
    plain.colour = {120, 120, 120};
    const auto plainMat = addMaterial(m, plain);
    const float L = 10, W = 1.5f, top = 4, bottom = 0.5f;
    // Left side (-X): seen from -X the right hand points to -Z.
    addQuad(m, {-W, top, L}, {-W, top, -L}, {-W, bottom, -L}, {-W, bottom, L}, {-1, 0, 0}, sideMat);
    // Right side (+X): seen from +X the right hand points to +Z.
    addQuad(m, {W, top, -L}, {W, top, L}, {W, bottom, L}, {W, bottom, -L}, {1, 0, 0}, sideMat);
    addQuad(m, {-W, top, -L}, {W, top, -L}, {W, top, L}, {-W, top, L}, {0, 1, 0}, plainMat);
    addQuad(m, {W, top, L}, {-W, top, L}, {-W, bottom, L}, {W, bottom, L}, {0, 0, 1}, plainMat);
    addQuad(m, {-W, top, -L}, {W, top, -L}, {W, bottom, -L}, {-W, bottom, -L}, {0, 0, -1},
            plainMat);
    return m;
}

// The preview's view: the half-turn world matrix, the camera 2.4 radii from the model's
// bounding-sphere centre, a 145 × 96 picture on the preview's background.
struct View {
    render::Mat4 world;
    render::Camera camera;
    render::RenderSettings settings;
};

inline View previewView(const render::Model& m, int width = 145, int height = 96) {
    View v;
    v.world = render::Mat4::rotationY(3.1415925f);
    const render::BoundingSphere s = render::boundingSphere(m, v.world);
    v.camera = render::Camera::sideView(s.centre, 2.4f * s.radius);
    v.settings.width = width;
    v.settings.height = height;
    v.settings.background = kBackground;
    return v;
}

inline render::RgbImage renderPreview(const render::Model& m, int width = 145, int height = 96) {
    const View v = previewView(m, width, height);
    return render::renderModel(m, v.world, v.camera, v.settings);
}

} // namespace testscene
