#pragma once

// Pictures the renderer reads and writes: RGBA textures with their mip levels, and the RGB
// picture it produces.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace render {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// An RGB picture, rows top to bottom, three bytes a pixel.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    RgbImage() = default;
    RgbImage(int w, int h, Rgb fill);
    Rgb pixel(int x, int y) const {
        const std::uint8_t* p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
        return {p[0], p[1], p[2]};
    }
    void setPixel(int x, int y, Rgb c) {
        std::uint8_t* p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
};

// An RGBA picture with straight (not premultiplied) alpha, rows top to bottom, four bytes a
// pixel: what the file-manager thumbnails are written from.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    bool valid() const {
        return width > 0 && height > 0 &&
               rgba.size() == std::size_t(width) * std::size_t(height) * 4;
    }
    // True when every pixel is fully transparent (or there is none): nothing to show.
    bool blank() const;
};

struct TextureLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // rows top to bottom, four bytes a texel
};

// A texture with its mip chain, levels[0] the largest held. Levels are halved down to 1×1; a
// texture handed over with its largest level alone gets the rest made by completeMipChain().
// A picture that samples a texture coarsely holds only the smaller levels: levels[0] is then
// level `firstLevel` of the full picture, whose size stays known.
struct Texture {
    std::vector<TextureLevel> levels;
    bool hasAlpha = false;
    bool alphaFromMask = false; // the alpha is a 1-bit mask (0 or 255 only)
    int firstLevel = 0;
    int fullWidth = 0; // size of level 0; 0 takes levels[0]'s
    int fullHeight = 0;

    bool valid() const;
    int width() const;
    int height() const;
    // Bytes of the texels held.
    std::size_t bytes() const;
    // Fills in the missing smaller levels by averaging 2×2 blocks of the level above.
    void completeMipChain();
    // Drops the levels larger than `level` of the full picture, keeping the smallest one.
    void dropLevelsAbove(int level);
    static Texture solid(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255);
};

// Bytes of the levels from `first` down to 1×1 of a width × height RGBA texture.
std::size_t mipChainBytes(int width, int height, int first);

} // namespace render
