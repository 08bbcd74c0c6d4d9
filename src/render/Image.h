#pragma once

// Pictures the renderer reads and writes: RGBA textures with their mip levels, and the RGB
// picture it produces.

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

struct TextureLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // rows top to bottom, four bytes a texel
};

// A texture with its mip chain, level 0 the largest. Levels are halved down to 1×1; a texture
// handed over with level 0 alone gets the rest made by completeMipChain().
struct Texture {
    std::vector<TextureLevel> levels;
    bool hasAlpha = false;

    bool valid() const;
    // Fills in the missing smaller levels by averaging 2×2 blocks of the level above.
    void completeMipChain();
    static Texture solid(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255);
};

} // namespace render
