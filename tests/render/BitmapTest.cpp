#include "render/Bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace render;

namespace {

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

} // namespace

TEST(BitmapTest, WritesA24BitBottomUpUncompressedBitmapWithPaddedRows) {
    // 3 pixels wide: 9 bytes of pixels, padded to 12 per row.
    RgbImage image(3, 2, Rgb{0, 0, 0});
    image.setPixel(0, 0, {10, 20, 30}); // top-left
    image.setPixel(2, 1, {40, 50, 60}); // bottom-right
    const std::vector<std::uint8_t> bmp = encodeBmp(image);

    ASSERT_EQ(bmp.size(), 14u + 40u + 2u * 12u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(u32(bmp, 2), bmp.size());
    EXPECT_EQ(u32(bmp, 10), 54u); // pixel data offset
    EXPECT_EQ(u32(bmp, 14), 40u); // BITMAPINFOHEADER
    EXPECT_EQ(std::int32_t(u32(bmp, 18)), 3);
    EXPECT_EQ(std::int32_t(u32(bmp, 22)), 2) << "positive height: rows stored bottom-up";
    EXPECT_EQ(u16(bmp, 26), 1);
    EXPECT_EQ(u16(bmp, 28), 24);
    EXPECT_EQ(u32(bmp, 30), 0u) << "BI_RGB";

    // First stored row is the picture's bottom row; pixels are blue, green, red.
    const std::size_t bottomRight = 54 + 2 * 3;
    EXPECT_EQ(bmp[bottomRight], 60);
    EXPECT_EQ(bmp[bottomRight + 1], 50);
    EXPECT_EQ(bmp[bottomRight + 2], 40);
    const std::size_t topLeft = 54 + 12;
    EXPECT_EQ(bmp[topLeft], 30);
    EXPECT_EQ(bmp[topLeft + 1], 20);
    EXPECT_EQ(bmp[topLeft + 2], 10);
    EXPECT_EQ(bmp[54 + 9], 0) << "padding bytes are zero";
}

TEST(BitmapTest, EmptyOrInconsistentPictureGivesNoBytes) {
    EXPECT_TRUE(encodeBmp(RgbImage{}).empty());
    RgbImage broken(4, 4, Rgb{});
    broken.rgb.resize(5);
    EXPECT_TRUE(encodeBmp(broken).empty());
}
