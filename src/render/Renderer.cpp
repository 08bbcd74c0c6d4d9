#include "render/Renderer.h"

#include "render/Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace render {

namespace {

struct BlendedTriangle {
    float depth; // view distance of the centroid
    std::uint32_t primitive;
    std::uint32_t first; // index of the triangle's first index
};

Shading shadingFor(const Model& model, const Material& material) {
    Shading s;
    s.colour = material.colour;
    s.blend = material.blend;
    s.alphaReference = material.alphaReference;
    if (material.texture >= 0 && std::size_t(material.texture) < model.textures.size())
        s.texture = &model.textures[std::size_t(material.texture)];
    return s;
}

bool finite(const Vec4& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.w);
}

} // namespace

RgbImage renderModel(const Model& model, const Mat4& world, const Camera& camera,
                     const RenderSettings& settings, RenderStats* stats) {
    if (stats)
        *stats = {};
    if (settings.width < 1 || settings.height < 1)
        return {};
    const int s = std::clamp(settings.samplesPerAxis, 1, 16);
    Framebuffer fb(settings.width * s, settings.height * s, settings.background);

    const float aspect = float(settings.width) / float(settings.height);
    const Mat4 worldViewProjection = world * viewMatrix(camera) * projectionMatrix(camera, aspect);

    // Light from the camera's side, raised by the elevation angle.
    constexpr float degrees = 3.14159265f / 180.0f;
    Vec3 towardsCamera = camera.eye - camera.target;
    towardsCamera.y = 0;
    towardsCamera = normalize(towardsCamera);
    const float elevation = settings.lightElevationDegrees * degrees;
    const Vec3 light =
        normalize(towardsCamera * std::cos(elevation) + Vec3{0, 1, 0} * std::sin(elevation));

    // Vertex stage, once per vertex.
    const std::size_t vertexCount = model.vertices.size();
    std::vector<Vec4> clip(vertexCount);
    std::vector<float> diffuse(vertexCount);
    std::vector<char> valid(vertexCount);
    std::vector<char> mapped(vertexCount); // texture coordinates usable
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const Vertex& v = model.vertices[i];
        clip[i] = transformPoint4(v.position, worldViewProjection);
        valid[i] = finite(clip[i]);
        mapped[i] = std::isfinite(v.u) && std::isfinite(v.v);
        const Vec3 n = normalize(transformDirection(v.normal, world));
        const float lambert = std::max(0.0f, dot(n, light));
        diffuse[i] = settings.ambient + settings.diffuse * (std::isfinite(lambert) ? lambert : 0);
    }

    auto clipVertex = [&](std::uint32_t i, const Material& m) {
        ClipVertex c;
        c.position = clip[i];
        c.u = mapped[i] ? model.vertices[i].u : 0.0f;
        c.v = mapped[i] ? model.vertices[i].v : 0.0f;
        c.light = (m.lit ? diffuse[i] : 1.0f) * m.brightness;
        return c;
    };
    auto usable = [&](const Primitive& p, std::size_t k) {
        const std::uint32_t a = p.indices[k], b = p.indices[k + 1], c = p.indices[k + 2];
        return a < vertexCount && b < vertexCount && c < vertexCount && valid[a] && valid[b] &&
               valid[c];
    };

    // A triangle with a texture coordinate that is not finite cannot be mapped: it keeps its
    // place in the picture, untextured.
    auto shadingOf = [&](const Primitive& p, std::size_t k, const Shading& textured) {
        if (mapped[p.indices[k]] && mapped[p.indices[k + 1]] && mapped[p.indices[k + 2]])
            return textured;
        Shading plain = textured;
        plain.texture = nullptr;
        return plain;
    };

    static const Material fallback;
    auto materialOf = [&](const Primitive& p) -> const Material& {
        return p.material < model.materials.size() ? model.materials[p.material] : fallback;
    };

    std::vector<BlendedTriangle> blended;
    for (BlendMode pass : {BlendMode::Opaque, BlendMode::AlphaTest}) {
        for (std::uint32_t pi = 0; pi < model.primitives.size(); ++pi) {
            const Primitive& p = model.primitives[pi];
            const Material& m = materialOf(p);
            const bool isBlended =
                m.blend == BlendMode::AlphaBlend || m.blend == BlendMode::Additive;
            if (isBlended) {
                if (pass == BlendMode::Opaque)
                    for (std::size_t k = 0; k + 2 < p.indices.size(); k += 3)
                        if (usable(p, k)) {
                            const float w = (clip[p.indices[k]].w + clip[p.indices[k + 1]].w +
                                             clip[p.indices[k + 2]].w) /
                                            3.0f;
                            blended.push_back({w, pi, std::uint32_t(k)});
                        }
                continue;
            }
            if (m.blend != pass)
                continue;
            const Shading shading = shadingFor(model, m);
            for (std::size_t k = 0; k + 2 < p.indices.size(); k += 3)
                if (usable(p, k))
                    drawTriangle(fb, clipVertex(p.indices[k], m), clipVertex(p.indices[k + 1], m),
                                 clipVertex(p.indices[k + 2], m), shadingOf(p, k, shading));
        }
    }

    // Farthest first; equal depths keep the model's order so that the result never depends on
    // the sort's internals.
    std::stable_sort(
        blended.begin(), blended.end(),
        [](const BlendedTriangle& a, const BlendedTriangle& b) { return a.depth > b.depth; });
    for (const BlendedTriangle& t : blended) {
        const Primitive& p = model.primitives[t.primitive];
        const Material& m = materialOf(p);
        const Shading shading = shadingFor(model, m);
        drawTriangle(fb, clipVertex(p.indices[t.first], m), clipVertex(p.indices[t.first + 1], m),
                     clipVertex(p.indices[t.first + 2], m), shadingOf(p, t.first, shading));
    }

    if (stats)
        stats->drawnSamples = fb.drawnSamples;
    return resolve(fb, s);
}

} // namespace render
