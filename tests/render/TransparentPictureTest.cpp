// Pictures with transparency for file managers: the matte taken from a scene drawn over black
// and over white, scaling to a longest side, and the PNG that carries them.

#include "PictureCompare.h"
#include "SceneBuilder.h"

#include "render/Matte.h"
#include "render/Png.h"
#include "render/Renderer.h"
#include "render/Resample.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace render;
using namespace testscene;

namespace {

struct Rgba {
    int r, g, b, a;
};

Rgba at(const RgbaImage& image, int x, int y) {
    const std::uint8_t* p =
        &image.rgba[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 4];
    return {p[0], p[1], p[2], p[3]};
}

bool near(Rgba a, Rgba b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance;
}

Material unlit(Rgb colour, BlendMode blend = BlendMode::Opaque) {
    Material m;
    m.colour = colour;
    m.lit = false;
    m.blend = blend;
    return m;
}

// A square facing a side view from +X, `size` metres, centred on (0, 0, z).
void addFacingQuad(Model& m, float size, std::uint32_t material, float z = 0) {
    const float h = size / 2;
    addQuad(m, {0, h, z - h}, {0, h, z + h}, {0, -h, z + h}, {0, -h, z - h}, {1, 0, 0}, material);
}

RgbaImage matteOf(const Model& m, int width, int height) {
    const Mat4 world = Mat4::identity();
    const Camera camera = Camera::sideView({0, 0, 0}, 8);
    RenderSettings settings;
    settings.width = width;
    settings.height = height;
    settings.background = {0, 0, 0};
    const RgbImage black = renderModel(m, world, camera, settings);
    settings.background = {255, 255, 255};
    const RgbImage white = renderModel(m, world, camera, settings);
    return matteFromBackgrounds(black, white);
}

RgbaImage filled(int width, int height, Rgba colour) {
    RgbaImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i)
        image.rgba.insert(image.rgba.end(), {std::uint8_t(colour.r), std::uint8_t(colour.g),
                                             std::uint8_t(colour.b), std::uint8_t(colour.a)});
    return image;
}

} // namespace

TEST(MatteTest, OpaqueKeepsItsColourBackgroundVanishesAndGlassKeepsItsShare) {
    Model m;
    m.textures.push_back(makeTexture(
        2, 2, [](int, int) { return Rgb{255, 0, 0}; }, [](int, int) { return 64; }));
    Material glass = unlit({255, 255, 255}, BlendMode::AlphaBlend);
    glass.texture = 0;
    addFacingQuad(m, 1.0f, addMaterial(m, unlit({30, 160, 90})), -1.2f); // opaque, left
    addFacingQuad(m, 1.0f, addMaterial(m, glass), 1.2f);                 // a quarter red, right
    const RgbaImage picture = matteOf(m, 96, 48);
    ASSERT_TRUE(picture.valid());
    EXPECT_TRUE(near(at(picture, 35, 24), {30, 160, 90, 255}, 1));
    EXPECT_TRUE(near(at(picture, 61, 24), {255, 0, 0, 64}, 2));
    EXPECT_EQ(at(picture, 48, 24).a, 0);
    EXPECT_EQ(at(picture, 0, 0).a, 0);
    // An edge the supersampling softens is partly transparent, not a fringe of background.
    bool softEdge = false;
    for (int x = 0; x < picture.width; ++x) {
        const Rgba p = at(picture, x, 24);
        if (p.a > 0 && p.a < 255 && x < 48) {
            softEdge = true;
            EXPECT_TRUE(near(p, {30, 160, 90, p.a}, 3)) << x << ": " << p.r << " " << p.g;
        }
    }
    EXPECT_TRUE(softEdge);
}

TEST(MatteTest, PicturesOfDifferentSizesGiveNone) {
    EXPECT_FALSE(matteFromBackgrounds(RgbImage(4, 4, {}), RgbImage(4, 5, {})).valid());
    EXPECT_FALSE(matteFromBackgrounds(RgbImage(), RgbImage()).valid());
}

TEST(ResizeTest, LongestSideTakesTheSizeAndProportionsStay) {
    EXPECT_EQ(fitLongestSide(148, 96, 512), (PictureSize{512, 332}));
    EXPECT_EQ(fitLongestSide(77, 96, 128), (PictureSize{103, 128}));
    EXPECT_EQ(fitLongestSide(4096, 1, 128), (PictureSize{128, 1}));
    EXPECT_EQ(fitLongestSide(0, 96, 128), (PictureSize{}));
    EXPECT_EQ(fitLongestSide(10, 10, 0), (PictureSize{}));
    const RgbaImage wide = resizeToFit(filled(300, 100, {10, 20, 30, 255}), 128);
    EXPECT_EQ(wide.width, 128);
    EXPECT_EQ(wide.height, 43);
    EXPECT_TRUE(wide.valid());
    const RgbaImage grown = resizeToFit(filled(3, 6, {10, 20, 30, 255}), 1024);
    EXPECT_EQ(grown.height, 1024);
    EXPECT_TRUE(near(at(grown, 256, 1000), {10, 20, 30, 255}, 0));
}

TEST(ResizeTest, TransparentPixelsLendNoColourAndAlphaIsAveraged) {
    // Left half opaque red, right half transparent black: shrunk to 2 × 1, then to 1 × 1.
    RgbaImage source = filled(8, 4, {0, 0, 0, 0});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* p = &source.rgba[(std::size_t(y) * 8 + std::size_t(x)) * 4];
            p[0] = 200;
            p[3] = 255;
        }
    const RgbaImage two = resizeToFit(source, 2);
    EXPECT_TRUE(near(at(two, 0, 0), {200, 0, 0, 255}, 0));
    EXPECT_EQ(at(two, 1, 0).a, 0);
    const RgbaImage one = resizeToFit(source, 1);
    EXPECT_TRUE(near(at(one, 0, 0), {200, 0, 0, 128}, 1));
    // Three source pixels to two: the middle one is shared, each half weighing the same.
    RgbaImage three = filled(3, 1, {0, 0, 0, 255});
    three.rgba[0] = 90;
    three.rgba[4] = 30;
    const RgbaImage shared = resizeToFit(three, 2);
    EXPECT_EQ(at(shared, 0, 0).r, 70); // (90 + 30 / 2) / 1.5
    EXPECT_EQ(at(shared, 1, 0).r, 10);
}

TEST(PngTest, RgbaRoundTripsThroughAReader) {
    RgbaImage picture = filled(5, 3, {0, 0, 0, 0});
    picture.rgba[0] = 250;
    picture.rgba[3] = 255;
    picture.rgba[(2 * 5 + 4) * 4 + 1] = 77;
    picture.rgba[(2 * 5 + 4) * 4 + 3] = 99;
    const std::vector<std::uint8_t> png = encodePng(picture);
    ASSERT_GT(png.size(), 8u);
    int channels = 0;
    const RgbaImage decoded = readPng(png.data(), png.size(), &channels);
    EXPECT_EQ(decoded.width, 5);
    EXPECT_EQ(decoded.height, 3);
    EXPECT_EQ(channels, 4);
    EXPECT_EQ(decoded.rgba, picture.rgba);
    EXPECT_TRUE(encodePng(RgbaImage{}).empty());
    EXPECT_TRUE(encodePng(RgbaImage{2, 2, {1, 2, 3}}).empty());
}
