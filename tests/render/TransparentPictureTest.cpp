// Pictures with transparency for file managers: scaling to a longest side, and the PNG that
// carries them.

#include "PictureCompare.h"

#include "render/Png.h"
#include "render/Resample.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace render;

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

RgbaImage filled(int width, int height, Rgba colour) {
    RgbaImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i)
        image.rgba.insert(image.rgba.end(), {std::uint8_t(colour.r), std::uint8_t(colour.g),
                                             std::uint8_t(colour.b), std::uint8_t(colour.a)});
    return image;
}

} // namespace

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
    const RgbaImage decoded = testscene::readPng(png.data(), png.size(), &channels);
    EXPECT_EQ(decoded.width, 5);
    EXPECT_EQ(decoded.height, 3);
    EXPECT_EQ(channels, 4);
    EXPECT_EQ(decoded.rgba, picture.rgba);
    EXPECT_TRUE(encodePng(RgbaImage{}).empty());
    EXPECT_TRUE(encodePng(RgbaImage{2, 2, {1, 2, 3}}).empty());
}
