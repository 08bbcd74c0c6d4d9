#include "render/Rasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

using namespace render;

namespace {

ClipVertex at(float x, float y, float light) {
    ClipVertex c;
    c.position = {x, y, 0.5f, 1.0f};
    c.light = light;
    return c;
}

// An untextured white triangle drawn opaque in the renderer's two passes: depths first, then
// the samples at the nearest depth shaded.
Framebuffer drawOpaque(const std::array<ClipVertex, 3>& t, bool shadeSquares) {
    Framebuffer fb(24, 24, {255, 255, 255});
    Shading shading;
    shading.colour = {255, 255, 255};
    shading.depthUse = DepthUse::RecordOnly;
    drawTriangle(fb, t[0], t[1], t[2], shading);
    drawNearest(fb, shadeSquares);
    return fb;
}

} // namespace

TEST(RasterizerSquareTest, SharedShadesAreReadInsideTheTriangleAndCoverageStaysPerSample) {
    // The light is 0 along the edge from the first corner to the second and 1 at the third:
    // a shade read past that edge (at the centre of a square the triangle only partly owns)
    // would come out below 0. Broad and thin triangles, both windings.
    const std::array<std::array<ClipVertex, 3>, 4> triangles{{
        {at(-0.9f, -0.83f, 0), at(0.87f, -0.71f, 0), at(0.05f, 0.93f, 1)},
        {at(0.87f, -0.71f, 0), at(-0.9f, -0.83f, 0), at(0.05f, 0.93f, 1)},
        {at(-0.95f, 0.31f, 0), at(0.93f, -0.27f, 0), at(0.91f, -0.19f, 1)},
        {at(-0.13f, -0.97f, 0), at(0.09f, 0.95f, 0), at(0.21f, 0.9f, 1)},
    }};
    for (std::size_t k = 0; k < triangles.size(); ++k) {
        SCOPED_TRACE(k);
        const Framebuffer every = drawOpaque(triangles[k], false);
        const Framebuffer shared = drawOpaque(triangles[k], true);
        ASSERT_GT(every.drawnSamples, 0u);
        EXPECT_EQ(shared.drawnSamples, every.drawnSamples);
        int below = 0;
        for (std::size_t i = 0; i < every.depth.size(); ++i) {
            const bool drawn = every.depth[i] != std::numeric_limits<float>::max();
            EXPECT_EQ(shared.depth[i] != std::numeric_limits<float>::max(), drawn) << i;
            for (std::size_t c = 0; c < 3; ++c)
                below += shared.colour[i * 3 + c] < 0;
        }
        EXPECT_EQ(below, 0);
    }
}

TEST(RasterizerDepthTest, DepthsRecordedAloneAreThoseADrawnTriangleWrites) {
    // Recording depths alone takes long runs four samples at a time; drawing with the depth
    // test works each sample out on its own. Both must leave the same bits, or the shading
    // pass would meet depths its own triangles never recorded. Slanted in depth and seen in
    // perspective (w differs per corner), wide and thin, both windings.
    const auto corner = [](float x, float y, float z, float w) {
        ClipVertex c;
        c.position = {x * w, y * w, z * w, w};
        return c;
    };
    const std::array<std::array<ClipVertex, 3>, 4> triangles{{
        {corner(-0.97f, -0.91f, 0.13f, 1.0f), corner(0.95f, -0.6f, 0.71f, 3.7f),
         corner(-0.2f, 0.98f, 0.42f, 1.9f)},
        {corner(0.95f, -0.6f, 0.71f, 3.7f), corner(-0.97f, -0.91f, 0.13f, 1.0f),
         corner(-0.2f, 0.98f, 0.42f, 1.9f)},
        {corner(-0.99f, 0.1f, 0.9f, 0.5f), corner(0.99f, 0.16f, 0.05f, 6.0f),
         corner(0.97f, 0.2f, 0.5f, 2.0f)},
        {corner(-0.9f, 0.9f, 0.3f, 1.0f), corner(0.9f, 0.9f, 0.3f, 1.0f),
         corner(0.0f, -0.9f, 0.6f, 1.0f)},
    }};
    for (std::size_t k = 0; k < triangles.size(); ++k) {
        SCOPED_TRACE(k);
        const auto& t = triangles[k];
        Shading shading;
        Framebuffer drawn(61, 47, {0, 0, 0}), recorded(61, 47, {0, 0, 0});
        drawTriangle(drawn, t[0], t[1], t[2], shading);
        shading.depthUse = DepthUse::RecordOnly;
        drawTriangle(recorded, t[0], t[1], t[2], shading);
        std::size_t covered = 0;
        for (std::size_t i = 0; i < drawn.depth.size(); ++i) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(recorded.depth[i]),
                      std::bit_cast<std::uint32_t>(drawn.depth[i]))
                << i;
            const bool reached = drawn.depth[i] != std::numeric_limits<float>::max();
            EXPECT_EQ(recorded.owner[i], reached ? 0u : Framebuffer::noOwner) << i;
            covered += reached;
        }
        EXPECT_GT(covered, 20u);
    }
}

TEST(RasterizerDepthTest, NearestSamplesShadeAsTheDepthTestWouldDrawThem) {
    // Recording depths and then shading each sample as its owner gives the bits that drawing
    // every triangle with the depth test gives, whichever triangle a sample ends with:
    // overlapping triangles of their own colours, light and depth slopes, one cut by the near
    // plane into pieces that are recorded each on its own, and one hidden behind the others.
    const auto corner = [](float x, float y, float z, float w, float light) {
        ClipVertex c;
        c.position = {x * w, y * w, z * w, w};
        c.light = light;
        return c;
    };
    struct Coloured {
        std::array<ClipVertex, 3> corners;
        Rgb colour;
    };
    const std::array<Coloured, 4> scene{{
        {{corner(-0.9f, -0.8f, 0.6f, 1.0f, 0.2f), corner(0.9f, -0.7f, 0.3f, 2.5f, 1.0f),
          corner(0.1f, 0.9f, 0.5f, 1.5f, 0.6f)},
         {200, 40, 10}},
        {{corner(-0.95f, 0.7f, 0.2f, 1.0f, 0.9f), corner(0.8f, 0.95f, 0.7f, 3.0f, 0.1f),
          corner(0.3f, -0.9f, 0.45f, 1.2f, 0.5f)},
         {20, 180, 60}},
        // Behind the near plane at its first corner.
        {{corner(-0.6f, -0.9f, -0.5f, 0.8f, 1.0f), corner(0.95f, 0.1f, 0.4f, 2.0f, 0.3f),
          corner(-0.2f, 0.8f, 0.35f, 1.1f, 0.7f)},
         {30, 60, 220}},
        {{corner(-0.5f, -0.5f, 0.95f, 1.0f, 1.0f), corner(0.5f, -0.5f, 0.95f, 1.0f, 1.0f),
          corner(0.0f, 0.5f, 0.95f, 1.0f, 1.0f)},
         {255, 255, 255}},
    }};
    Framebuffer tested(53, 41, {0, 0, 0}), nearest(53, 41, {0, 0, 0});
    for (const Coloured& t : scene) {
        Shading shading;
        shading.colour = t.colour;
        drawTriangle(tested, t.corners[0], t.corners[1], t.corners[2], shading);
        shading.depthUse = DepthUse::RecordOnly;
        drawTriangle(nearest, t.corners[0], t.corners[1], t.corners[2], shading);
    }
    // One entry for each of the first two, one per piece of the clipped one, none for the
    // hidden one.
    ASSERT_EQ(nearest.recorded.size(), 4u);
    drawNearest(nearest, false);
    std::size_t drawn = 0;
    for (std::size_t i = 0; i < tested.depth.size(); ++i) {
        drawn += tested.depth[i] != std::numeric_limits<float>::max();
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_EQ(std::bit_cast<std::uint32_t>(nearest.colour[i * 3 + c]),
                      std::bit_cast<std::uint32_t>(tested.colour[i * 3 + c]))
                << i;
    }
    EXPECT_EQ(nearest.drawnSamples, drawn);
    EXPECT_GT(drawn, 1000u);
}

TEST(RasterizerResolveTest, EveryPixelRoundsAndHoldsItsAverageAlike) {
    // Each pixel's samples all hold one value; the pixel is that value rounded half up and
    // held in 0..255, NaN giving 0, whichever pixel of the grid (the last one included).
    constexpr float inf = std::numeric_limits<float>::infinity();
    const std::array<std::pair<float, int>, 12> cases{{{std::nanf(""), 0},
                                                       {-inf, 0},
                                                       {-5.0f, 0},
                                                       {-0.4f, 0},
                                                       {0.49f, 0},
                                                       {0.5f, 1},
                                                       {127.5f, 128},
                                                       {200.25f, 200},
                                                       {254.49f, 254},
                                                       {254.5f, 255},
                                                       {300.0f, 255},
                                                       {inf, 255}}};
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        for (int s : {1, 2, 4}) {
            Framebuffer fb(3 * s, 2 * s, {0, 0, 0});
            std::fill(fb.colour.begin(), fb.colour.end(), value);
            const RgbImage image = resolve(fb, s);
            ASSERT_EQ(image.rgb.size(), 18u);
            for (std::size_t i = 0; i < image.rgb.size(); ++i)
                EXPECT_EQ(int(image.rgb[i]), expected)
                    << "samples per axis " << s << ", byte " << i;
        }
    }
}

TEST(RasterizerVertexTest, SampleCoordinatesRoundHalfAwayFromZeroOnEitherSideOfThePicture) {
    // On a grid 4 samples wide, x = -1 + k / 1024 lies at k / 2 fixed-point steps (1/256 of
    // a sample) from the left edge: whole and half steps, inside the picture and left of it,
    // all exact in float and double.
    const std::array<std::pair<int, std::int64_t>, 8> cases{
        {{5, 3}, {-5, -3}, {3, 2}, {-3, -2}, {4, 2}, {-4, -2}, {1, 1}, {-1, -1}}};
    for (const auto& [k, expected] : cases) {
        const ScreenPoint p = screenPoint({-1.0f + float(k) / 1024.0f, 0.0f, 0.5f, 1.0f}, 4, 4);
        EXPECT_EQ(p.x, expected) << k << " half steps";
    }
}
