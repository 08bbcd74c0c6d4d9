#include "render/Renderer.h"

#include "render/Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

namespace render {

namespace {

struct BlendedTriangle {
    float depth; // view distance of the centroid
    std::uint32_t primitive;
    std::uint32_t first; // index of the triangle's first index
};

// A texture slot as the rasterizer reads it: the texture when it can be sampled (else none,
// and the material's colour is drawn) and the finest level the picture reads of it.
struct DrawnTexture {
    const Texture* texture = nullptr;
    int finestLevel = 0;
};

Shading shadingFor(const Material& material, const std::vector<DrawnTexture>& textures) {
    Shading s;
    s.colour = material.colour;
    s.blend = material.blend;
    s.alphaReference = material.alphaReference;
    if (material.texture >= 0 && std::size_t(material.texture) < textures.size()) {
        const DrawnTexture& drawn = textures[std::size_t(material.texture)];
        s.texture = drawn.texture;
        s.finestLevel = drawn.finestLevel;
    }
    return s;
}

bool finite(const Vec4& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::isfinite(p.w);
}

Mat4 worldViewProjection(const Mat4& world, const Camera& camera, const RenderSettings& settings) {
    const float aspect = float(settings.width) / float(settings.height);
    return world * viewMatrix(camera) * projectionMatrix(camera, aspect);
}

// The footprints of textureFootprints() from the vertices in clip space, on a grid of
// sampleWidth × sampleHeight samples. Mirrors the rasterizer: the same triangles are drawn
// (finite corners, not wholly outside one clip plane) and the step is taken as there, the
// larger of the steps along the two screen axes.
std::vector<float> footprints(const Model& model, const std::vector<Vec4>& clip, int sampleWidth,
                              int sampleHeight) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<float> result(model.textures.size(), inf);
    // Every step is a candidate for its slot's smallest: the root is taken of the smallest
    // square only, which gives the same float since the root is monotonic.
    std::vector<float> smallestSquare(model.textures.size(), inf);
    // What a triangle needs of its corners, worked out once per vertex for every triangle
    // that meets there.
    struct Corner {
        float sx, sy, q, u, v, uq, vq;
        unsigned outcode;
        bool usable;
    };
    const std::size_t vertexCount = model.vertices.size();
    std::vector<Corner> corners;
    corners.reserve(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const Vec4& c = clip[i];
        const Vertex& vertex = model.vertices[i];
        const float q = 1.0f / c.w;
        corners.push_back(
            {.sx = (c.x * q + 1.0f) * 0.5f * float(sampleWidth),
             .sy = (1.0f - c.y * q) * 0.5f * float(sampleHeight),
             .q = q,
             .u = vertex.u,
             .v = vertex.v,
             .uq = vertex.u * q,
             .vq = vertex.v * q,
             .outcode = outcode(c),
             .usable = finite(c) && std::isfinite(vertex.u) && std::isfinite(vertex.v)});
    }
    for (const Primitive& p : model.primitives) {
        if (p.material >= model.materials.size())
            continue;
        const int slot = model.materials[p.material].texture;
        if (slot < 0 || std::size_t(slot) >= result.size())
            continue;
        float& best = result[std::size_t(slot)];
        float& bestSquare = smallestSquare[std::size_t(slot)];
        for (std::size_t k = 0; k + 2 < p.indices.size(); k += 3) {
            const std::uint32_t index[3] = {p.indices[k], p.indices[k + 1], p.indices[k + 2]};
            if (index[0] >= vertexCount || index[1] >= vertexCount || index[2] >= vertexCount)
                continue;
            const Corner* c[3] = {&corners[index[0]], &corners[index[1]], &corners[index[2]]};
            if (!(c[0]->usable && c[1]->usable && c[2]->usable) ||
                (c[0]->outcode & c[1]->outcode & c[2]->outcode) != 0)
                continue;
            if ((c[0]->outcode | c[1]->outcode | c[2]->outcode) & nearPlaneOutcode) {
                best = 0; // steps near the eye can be of any size
                continue;
            }
            const float ax = c[1]->sx - c[0]->sx, ay = c[1]->sy - c[0]->sy;
            const float bx = c[2]->sx - c[0]->sx, by = c[2]->sy - c[0]->sy;
            const float area = ax * by - bx * ay;
            if (!(std::fabs(area) > 1e-12f)) { // drawn on no sample, or hardly any
                best = std::min(best, std::numeric_limits<float>::max());
                continue;
            }
            // Screen gradients of a value that interpolates linearly on screen.
            auto gradient = [&](float Corner::*f, float& dx, float& dy) {
                const float d1 = c[1]->*f - c[0]->*f, d2 = c[2]->*f - c[0]->*f;
                dx = (d1 * by - d2 * ay) / area;
                dy = (d2 * ax - d1 * bx) / area;
            };
            float dqdx, dqdy, duqdx, duqdy, dvqdx, dvqdy;
            gradient(&Corner::q, dqdx, dqdy);
            gradient(&Corner::uq, duqdx, duqdy);
            gradient(&Corner::vq, dvqdx, dvqdy);
            for (const Corner* at : c) {
                const float dudx = (duqdx - at->u * dqdx) / at->q,
                            dudy = (duqdy - at->u * dqdy) / at->q;
                const float dvdx = (dvqdx - at->v * dqdx) / at->q,
                            dvdy = (dvqdy - at->v * dqdy) / at->q;
                const float square = std::max(dudx * dudx + dvdx * dvdx, dudy * dudy + dvdy * dvdy);
                if (square < bestSquare)
                    bestSquare = square;
                else if (square != square) // NaN: tell nothing, take the finest
                    best = 0;
            }
        }
    }
    for (std::size_t slot = 0; slot < result.size(); ++slot)
        result[slot] = std::min(result[slot], std::sqrt(smallestSquare[slot]));
    return result;
}

} // namespace

std::vector<float> textureFootprints(const Model& model, const Mat4& world, const Camera& camera,
                                     const RenderSettings& settings) {
    if (settings.width < 1 || settings.height < 1)
        return std::vector<float>(model.textures.size(), std::numeric_limits<float>::infinity());
    const int s = std::clamp(settings.samplesPerAxis, 1, 16);
    const Mat4 wvp = worldViewProjection(world, camera, settings);
    std::vector<Vec4> clip(model.vertices.size());
    for (std::size_t i = 0; i < clip.size(); ++i)
        clip[i] = transformPoint4(model.vertices[i].position, wvp);
    return footprints(model, clip, settings.width * s, settings.height * s);
}

int finestMipLevel(float footprint, int width, int height) {
    if (std::isinf(footprint) && footprint > 0)
        return -1;
    const float texels = footprint * float(std::max(1, std::min(width, height)));
    if (!(texels > 1.0f))
        return 0;
    // The rasterizer rounds log2 of the step in texels to the nearest level.
    const int level = int(std::floor(std::log2(std::min(texels, 1e30f)) + 0.5f)) - 1;
    return std::max(0, level);
}

RgbImage renderModel(const Model& model, const Mat4& world, const Camera& camera,
                     const RenderSettings& settings, RenderStats* stats) {
    return renderModel(model, world, camera, settings, RenderReuse{}, stats);
}

RgbImage renderModel(const Model& model, const Mat4& world, const Camera& camera,
                     const RenderSettings& settings, const RenderReuse& reuse, RenderStats* stats) {
    if (stats)
        *stats = {};
    if (settings.width < 1 || settings.height < 1)
        return {};
    const int s = std::clamp(settings.samplesPerAxis, 1, 16);
    std::optional<Framebuffer> own;
    Framebuffer& fb = reuse.samples ? *reuse.samples : own.emplace(0, 0, settings.background);
    fb.reset(settings.width * s, settings.height * s, settings.background);

    const Mat4 wvp = worldViewProjection(world, camera, settings);

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
        clip[i] = transformPoint4(v.position, wvp);
        valid[i] = finite(clip[i]);
        mapped[i] = std::isfinite(v.u) && std::isfinite(v.v);
        const Vec3 n = normalize(transformDirection(v.normal, world));
        const float lambert = std::max(0.0f, dot(n, light));
        diffuse[i] = settings.ambient + settings.diffuse * (std::isfinite(lambert) ? lambert : 0);
    }

    // Where each vertex falls on the sample grid, once for every triangle that shares it.
    std::vector<ScreenPoint> points(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i)
        if (valid[i])
            points[i] = screenPoint(clip[i], fb.width, fb.height);

    // Each texture checked once for the picture, and the finest level it is read at, from
    // the same footprints the textures were decoded for, so that a picture never depends on
    // what else a shared texture holds.
    std::vector<DrawnTexture> textures(model.textures.size());
    {
        const std::vector<float> steps =
            reuse.footprints && reuse.footprints->size() == model.textures.size()
                ? *reuse.footprints
                : footprints(model, clip, fb.width, fb.height);
        for (std::size_t t = 0; t < textures.size(); ++t)
            if (const Texture* texture = model.textures[t].get(); texture && texture->valid())
                textures[t] = {texture, std::max(0, finestMipLevel(steps[t], texture->width(),
                                                                   texture->height()))};
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

    // Every triangle of the primitives drawn with `blend`, meeting the depths as `depthUse`.
    const auto drawAll = [&](BlendMode blend, DepthUse depthUse) {
        for (const Primitive& p : model.primitives) {
            const Material& m = materialOf(p);
            if (m.blend != blend)
                continue;
            Shading shading = shadingFor(m, textures);
            shading.depthUse = depthUse;
            for (std::size_t k = 0; k + 2 < p.indices.size(); k += 3) {
                if (!usable(p, k))
                    continue;
                const std::uint32_t a = p.indices[k], b = p.indices[k + 1], c = p.indices[k + 2];
                drawTriangle(fb, clipVertex(a, m), clipVertex(b, m), clipVertex(c, m), points[a],
                             points[b], points[c], shadingOf(p, k, shading));
            }
        }
    };
    // Opaque triangles record their depths first and their nearest samples are then shaded;
    // the alpha-tested ones follow, tested as they come, since a cut-away texel leaves no
    // depth.
    drawAll(BlendMode::Opaque, DepthUse::RecordOnly);
    drawNearest(fb, !settings.shadeEverySample);
    drawAll(BlendMode::AlphaTest, DepthUse::Test);

    // Blended triangles last, farthest first; equal depths keep the model's order so that the
    // result never depends on the sort's internals.
    std::vector<BlendedTriangle> blended;
    for (std::uint32_t pi = 0; pi < model.primitives.size(); ++pi) {
        const Primitive& p = model.primitives[pi];
        const BlendMode blend = materialOf(p).blend;
        if (blend != BlendMode::AlphaBlend && blend != BlendMode::Additive)
            continue;
        for (std::size_t k = 0; k + 2 < p.indices.size(); k += 3)
            if (usable(p, k)) {
                const float w =
                    (clip[p.indices[k]].w + clip[p.indices[k + 1]].w + clip[p.indices[k + 2]].w) /
                    3.0f;
                blended.push_back({w, pi, std::uint32_t(k)});
            }
    }
    std::stable_sort(
        blended.begin(), blended.end(),
        [](const BlendedTriangle& a, const BlendedTriangle& b) { return a.depth > b.depth; });
    for (const BlendedTriangle& t : blended) {
        const Primitive& p = model.primitives[t.primitive];
        const Material& m = materialOf(p);
        const Shading shading = shadingFor(m, textures);
        const std::uint32_t a = p.indices[t.first], b = p.indices[t.first + 1],
                            c = p.indices[t.first + 2];
        drawTriangle(fb, clipVertex(a, m), clipVertex(b, m), clipVertex(c, m), points[a], points[b],
                     points[c], shadingOf(p, t.first, shading));
    }

    if (stats)
        stats->drawnSamples = fb.drawnSamples;
    return resolve(fb, s);
}

} // namespace render
