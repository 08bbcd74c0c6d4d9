#include "support/AceWriter.h"

#include "msts/Ace.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using fixtures::AceLayout;
using fixtures::Picture;

msts::AceResult read(const Picture& p, AceLayout layout, bool mipmaps = false,
                     bool compressed = false, bool wrongRowOffsets = false) {
    fixtures::AceWriteOptions o;
    o.layout = layout;
    o.mipmaps = mipmaps;
    o.compressed = compressed;
    o.wrongRowOffsets = wrongRowOffsets;
    return msts::readAce(fixtures::writeAce(p, o));
}

std::array<int, 4> pixel(const msts::AceLevel& level, std::uint32_t x, std::uint32_t y) {
    const auto* p = level.rgba.data() + (std::size_t{y} * level.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TEST(AcePlanar, threeChannelsDecodeExactlyAndOpaque) {
    const Picture p = fixtures::testPicture(13, 7); // width not a multiple of 8 or 4
    const auto result = read(p, AceLayout::Rgb);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.diagnostics.empty());
    const auto& image = result.image;
    EXPECT_EQ(image.width, 13u);
    EXPECT_EQ(image.height, 7u);
    EXPECT_FALSE(image.hasAlpha);
    ASSERT_EQ(image.levels.size(), 1u);
    for (std::uint32_t y = 0; y < 7; ++y)
        for (std::uint32_t x = 0; x < 13; ++x) {
            const auto* want = p.rgba.data() + (std::size_t{y} * 13 + x) * 4;
            EXPECT_EQ(pixel(image.levels[0], x, y),
                      (std::array<int, 4>{want[0], want[1], want[2], 255}))
                << x << "," << y;
        }
}

TEST(AcePlanar, maskBitsAreReadMostSignificantFirst) {
    // One lit mask pixel per row, at a different column each row, across byte borders.
    Picture p = fixtures::testPicture(19, 12);
    for (std::uint32_t y = 0; y < 12; ++y)
        for (std::uint32_t x = 0; x < 19; ++x)
            p.rgba[(std::size_t{y} * 19 + x) * 4 + 3] = x == (y * 5) % 19 ? 255 : 0;
    const auto result = read(p, AceLayout::RgbMask);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.image.hasAlpha);
    EXPECT_TRUE(result.image.hasMask);
    for (std::uint32_t y = 0; y < 12; ++y)
        for (std::uint32_t x = 0; x < 19; ++x)
            EXPECT_EQ(pixel(result.image.levels[0], x, y)[3], x == (y * 5) % 19 ? 255 : 0)
                << x << "," << y;
}

TEST(AcePlanar, fiveChannelsTakeTheEightBitAlphaOverTheMask) {
    const Picture p = fixtures::testPicture(16, 16); // alpha 0, 127, 254 in turn
    const auto result = read(p, AceLayout::RgbMaskAlpha, true, true);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.image.hasAlpha);
    EXPECT_FALSE(result.image.hasMask);
    ASSERT_EQ(result.image.levels.size(), 5u);
    for (std::uint32_t y = 0; y < 16; ++y)
        for (std::uint32_t x = 0; x < 16; ++x) {
            const auto* want = p.rgba.data() + (std::size_t{y} * 16 + x) * 4;
            EXPECT_EQ(pixel(result.image.levels[0], x, y),
                      (std::array<int, 4>{want[0], want[1], want[2], want[3]}));
        }
}

TEST(AcePlanar, mipLevelsFollowEachOtherDownToOnePixel) {
    const Picture p = fixtures::testPicture(16, 16);
    const auto result = read(p, AceLayout::Rgb, true, true);
    ASSERT_TRUE(result.ok());
    const auto& levels = result.image.levels;
    ASSERT_EQ(levels.size(), 5u);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        EXPECT_EQ(levels[i].width, 16u >> i);
        EXPECT_EQ(levels[i].rgba.size(), std::size_t{levels[i].width} * levels[i].height * 4);
    }
    // Level 1 is the 2x2 average of level 0 (as written): a shifted read would not match.
    for (int c = 0; c < 3; ++c) {
        const int sum = pixel(levels[0], 2, 2)[c] + pixel(levels[0], 3, 2)[c] +
                        pixel(levels[0], 2, 3)[c] + pixel(levels[0], 3, 3)[c];
        EXPECT_EQ(pixel(levels[1], 1, 1)[c], sum / 4);
    }
    msts::AceOptions first;
    first.firstLevelOnly = true;
    fixtures::AceWriteOptions o;
    o.mipmaps = true;
    EXPECT_EQ(msts::readAce(fixtures::writeAce(p, o), first).image.levels.size(), 1u);
}

TEST(AcePlanar, wrongRowOffsetsStillDecodeFromTheRowsThemselves) {
    const Picture p = fixtures::testPicture(16, 16);
    const auto good = read(p, AceLayout::RgbMask, true);
    const auto wrong = read(p, AceLayout::RgbMask, true, false, true);
    ASSERT_TRUE(wrong.ok());
    EXPECT_TRUE(wrong.diagnostics.has(msts::DiagCode::BadRowOffsets));
    EXPECT_FALSE(good.diagnostics.has(msts::DiagCode::BadRowOffsets));
    ASSERT_EQ(wrong.image.levels.size(), good.image.levels.size());
    for (std::size_t i = 0; i < good.image.levels.size(); ++i)
        EXPECT_EQ(wrong.image.levels[i].rgba, good.image.levels[i].rgba) << "level " << i;
}

// Two hand-made DXT1 blocks side by side (8x4): the left one in four-colour mode (c0 > c1),
// the right one in three-colour mode (c0 <= c1) where index 3 is transparent black.
fixtures::Bytes twoBlocks() {
    fixtures::Bytes b;
    const auto block = [&](std::uint16_t c0, std::uint16_t c1) {
        fixtures::appendU16(b, c0);
        fixtures::appendU16(b, c1);
        // Row 0: indices 0,1,2,3 for x = 0..3 (bits 2x); rows 1..3: index 0.
        fixtures::appendU32(b, 0u | 1u << 2 | 2u << 4 | 3u << 6);
    };
    block(0xF800, 0x001F); // red > blue
    block(0x001F, 0xF800); // blue <= red
    return b;
}

void expectRgba(std::array<int, 4> got, std::array<int, 4> want) {
    for (int c = 0; c < 4; ++c)
        EXPECT_LE(std::abs(got[c] - want[c]), 1) << "channel " << c;
}

TEST(AceDxt1, bothColourModesDecode) {
    const auto result = msts::readAce(fixtures::writeDxt1Blocks(8, 4, twoBlocks(), true));
    ASSERT_TRUE(result.ok());
    const auto& l = result.image.levels.at(0);
    EXPECT_EQ(result.image.format, msts::AceFormat::Dxt1);
    expectRgba(pixel(l, 0, 0), {255, 0, 0, 255});
    expectRgba(pixel(l, 1, 0), {0, 0, 255, 255});
    expectRgba(pixel(l, 2, 0), {170, 0, 85, 255}); // 2/3 c0 + 1/3 c1
    expectRgba(pixel(l, 3, 0), {85, 0, 170, 255});
    expectRgba(pixel(l, 0, 3), {255, 0, 0, 255});
    expectRgba(pixel(l, 4, 0), {0, 0, 255, 255});
    expectRgba(pixel(l, 5, 0), {255, 0, 0, 255});
    expectRgba(pixel(l, 6, 0), {128, 0, 128, 255}); // average
    expectRgba(pixel(l, 7, 0), {0, 0, 0, 0});       // transparent black
    EXPECT_TRUE(result.image.hasAlpha);
}

TEST(AceDxt1, withoutAMaskDescriptorThePictureIsNotMarkedTransparent) {
    const auto result = msts::readAce(fixtures::writeDxt1Blocks(8, 4, twoBlocks(), false));
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.image.hasAlpha);
}

TEST(AceDxt, mipmappedBlocksAndTheirSmallPlanarLevelsRoundTrip) {
    const Picture p = fixtures::testPicture(16, 16);
    for (auto layout : {AceLayout::Dxt1, AceLayout::Dxt1Mask, AceLayout::Dxt3, AceLayout::Dxt5}) {
        const auto result = read(p, layout, true, layout == AceLayout::Dxt5);
        ASSERT_TRUE(result.ok()) << static_cast<int>(layout);
        EXPECT_FALSE(result.diagnostics.has(msts::DiagCode::BadRowOffsets));
        const auto& levels = result.image.levels;
        ASSERT_EQ(levels.size(), 5u);
        // Block compression is lossy; a smooth gradient stays close.
        for (std::uint32_t y = 0; y < 16; y += 5)
            for (std::uint32_t x = 0; x < 16; x += 5) {
                const auto* want = p.rgba.data() + (std::size_t{y} * 16 + x) * 4;
                if (layout == AceLayout::Dxt1Mask && want[3] < 128) {
                    EXPECT_EQ(pixel(levels[0], x, y)[3], 0); // a transparent texel
                    continue;
                }
                EXPECT_LE(std::abs(pixel(levels[0], x, y)[0] - want[0]), 48);
                EXPECT_LE(std::abs(pixel(levels[0], x, y)[1] - want[1]), 48);
            }
        // The 2x2 and 1x1 levels are planar and exact averages of the level above them
        // as written; they must not be mistaken for block data.
        EXPECT_EQ(levels[3].width, 2u);
        EXPECT_EQ(levels[4].width, 1u);
        const int mean = (pixel(levels[3], 0, 0)[1] + pixel(levels[3], 1, 0)[1] +
                          pixel(levels[3], 0, 1)[1] + pixel(levels[3], 1, 1)[1]);
        EXPECT_NEAR(pixel(levels[4], 0, 0)[1], mean / 4, 1);
    }
}

TEST(AceLimits, sizesAreCheckedBeforeAnythingIsAllocated) {
    Picture big;
    big.width = 4097;
    big.height = 1;
    big.rgba.resize(4097 * 4);
    const auto result = read(big, AceLayout::Rgb);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.diagnostics.has(msts::DiagCode::ImageTooLarge));
    EXPECT_TRUE(result.image.levels.empty());
}

} // namespace
