#pragma once

// The rasterizer's stages as small functions over an explicit framebuffer: clip a triangle in
// clip space, cover its samples with a fixed-point edge test (top-left rule, so that shared
// edges are neither left open nor drawn twice), test depth, sample the texture with
// perspective-correct coordinates and a mip level from one sample's footprint (opaque
// surfaces once per 2 × 2 square of samples, the rest per sample), shade, and finally average
// the samples of each pixel.

#include "render/Image.h"
#include "render/Math.h"
#include "render/Model.h"

#include <array>
#include <cstdint>
#include <vector>

namespace render {

// What shading reads of a triangle: per corner, the values that interpolate linearly on
// screen (1 / w, and u, v and the light each times 1 / w), their gradients per sample step,
// and the surface.
struct TriangleShade {
    std::array<float, 3> q{}, uq{}, vq{}, lq{};
    float dqdx = 0, dqdy = 0, duqdx = 0, duqdy = 0, dvqdx = 0, dvqdy = 0;
    const Texture* texture = nullptr; // as Shading::texture
    int finestLevel = 0;
    Rgb colour{128, 128, 128};
};

// An opaque triangle whose depth was recorded on some sample (DepthUse::RecordOnly), as
// drawNearest() shades it there. Corner k's barycentric weight at sample (x, y) is
// (base[k] + x * stepX[k] + y * stepY[k]) * invArea, the edge value in fixed point.
struct RecordedTriangle {
    std::array<std::int64_t, 3> base{}, stepX{}, stepY{};
    double invArea = 0;
    TriangleShade shade;
};

// The sample grid: colour (0..255 per channel, as floats so blending keeps precision) and
// depth (0 at the near plane, 1 at the far plane).
struct Framebuffer {
    int width = 0;
    int height = 0;
    std::vector<float> colour;
    std::vector<float> depth;
    // Per sample, the entry of `recorded` for the opaque triangle whose depth was recorded
    // there: the first at the nearest depth, or noOwner.
    static constexpr std::uint32_t noOwner = 0xFFFFFFFF;
    std::vector<std::uint32_t> owner;
    std::vector<RecordedTriangle> recorded;
    // Samples a triangle has written (an alpha-tested hole or a fully transparent blend
    // writes none): 0 means nothing of the model is in the picture.
    std::size_t drawnSamples = 0;

    Framebuffer(int w, int h, Rgb background);
    // Cleared to a w × h grid of the background, keeping the memory it holds: a run of
    // pictures draws into one grid instead of mapping fresh pages for each.
    void reset(int w, int h, Rgb background);
};

struct ClipVertex {
    Vec4 position; // clip space: x, y in -w..w, z in 0..w inside the view
    float u = 0, v = 0;
    float light = 1; // brightness factor from lighting
};

// How a triangle meets the depth buffer. Opaque triangles can be drawn in two passes that
// give the same picture as one: first every depth (RecordOnly), then drawNearest() shades
// each sample once, as its nearest triangle, instead of once per triangle that comes nearer.
enum class DepthUse : std::uint8_t {
    Test,       // drawn where nearer than what is there
    RecordOnly, // nothing drawn: where nearer, the depth and the triangle's entry are kept
};

struct Shading {
    // nullptr: draw `colour`. Else a texture whose valid() holds: its levels are read as they
    // are, unchecked (renderModel() checks each once for the picture).
    const Texture* texture = nullptr;
    Rgb colour{128, 128, 128};
    BlendMode blend = BlendMode::Opaque;
    float alphaReference = 200.0f / 255.0f;
    // The finest mip level this picture samples (see finestMipLevel); none finer is read.
    int finestLevel = 0;
    DepthUse depthUse = DepthUse::Test;
};

// Where a clip-space point falls on a sample grid, worked out once per vertex for all the
// triangles that share it: fixed-point sample coordinates, depth, 1 / w, and its outcode().
struct ScreenPoint {
    std::int64_t x = 0, y = 0; // 8 fraction bits
    float z = 0;
    double invW = 0;
    unsigned outcode = 0;
};
ScreenPoint screenPoint(const Vec4& position, int width, int height);

// Planes a clip-space point lies outside of, one bit each: near, far and a guard band twice
// the picture's size around it (clipping at the band keeps fixed-point coordinates small
// while leaving nearly every triangle unclipped).
unsigned outcode(const Vec4& p);
inline constexpr unsigned nearPlaneOutcode = 1; // outcode()'s bit for behind the near plane

// Sutherland-Hodgman clipping against the planes of outcode(); the result is a convex polygon
// of 0 to 9 vertices.
int clipPolygon(const std::array<ClipVertex, 3>& triangle, std::array<ClipVertex, 9>& out);

// Draws one triangle that lies inside every clip plane. True when it passed the depth test
// on some sample: drew there, or recorded a nearer depth.
bool rasterizeTriangle(Framebuffer& fb, const ClipVertex& a, const ClipVertex& b,
                       const ClipVertex& c, const Shading& shading);

// The same, the corners' screenPoint()s on fb's grid given.
bool rasterizeTriangle(Framebuffer& fb, const ClipVertex& a, const ClipVertex& b,
                       const ClipVertex& c, const ScreenPoint& pa, const ScreenPoint& pb,
                       const ScreenPoint& pc, const Shading& shading);

// Clips when needed, then rasterizes; true as rasterizeTriangle() is for some part.
bool drawTriangle(Framebuffer& fb, const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                  const Shading& shading);
// The same, the corners' screenPoint()s on fb's grid given.
bool drawTriangle(Framebuffer& fb, const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                  const ScreenPoint& pa, const ScreenPoint& pb, const ScreenPoint& pc,
                  const Shading& shading);

// Shades every sample the RecordOnly pass gave an owner, as that triangle: each 2 × 2 square
// of samples (on even coordinates) once per triangle that owns some of it, at the mean of the
// weights of the samples it owns there, so the shade point never leaves the triangle. The
// texture level stays that of one sample's footprint: reading a square's footprint would reach
// the smaller levels the files store, each compressed on its own, and move colours. Coverage
// and depth stay per sample, which keeps the edges smooth. With shadeSquares unset, every
// sample is shaded on its own (the reference the squares are measured against).
void drawNearest(Framebuffer& fb, bool shadeSquares);

// Bilinear sample of one mip level of the full picture (clamped to the levels held),
// wrapping outside 0..1.
// Returns RGBA in 0..255.
std::array<float, 4> sampleTexture(const Texture& texture, float u, float v, int level);

// Averages samplesPerAxis² samples into each pixel.
RgbImage resolve(const Framebuffer& fb, int samplesPerAxis);

} // namespace render
