#include "render/Image.h"

#include <algorithm>

namespace render {

RgbImage::RgbImage(int w, int h, Rgb fill) : width(std::max(w, 0)), height(std::max(h, 0)) {
    rgb.resize(std::size_t(width) * std::size_t(height) * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = fill.r;
        rgb[i + 1] = fill.g;
        rgb[i + 2] = fill.b;
    }
}

bool RgbaImage::blank() const {
    for (std::size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 0)
            return false;
    return true;
}

bool Texture::valid() const {
    if (levels.empty())
        return false;
    for (const TextureLevel& l : levels)
        if (l.width <= 0 || l.height <= 0 ||
            l.rgba.size() != std::size_t(l.width) * std::size_t(l.height) * 4)
            return false;
    return true;
}

int Texture::width() const {
    return fullWidth > 0 ? fullWidth : levels.empty() ? 0 : levels[0].width;
}

int Texture::height() const {
    return fullHeight > 0 ? fullHeight : levels.empty() ? 0 : levels[0].height;
}

std::size_t Texture::bytes() const {
    std::size_t n = 0;
    for (const TextureLevel& l : levels)
        n += l.rgba.size();
    return n;
}

void Texture::dropLevelsAbove(int level) {
    if (levels.empty())
        return;
    const auto drop = std::size_t(std::clamp(level - firstLevel, 0, int(levels.size()) - 1));
    if (drop == 0)
        return;
    fullWidth = width();
    fullHeight = height();
    levels.erase(levels.begin(), levels.begin() + std::ptrdiff_t(drop));
    firstLevel += int(drop);
}

std::size_t mipChainBytes(int width, int height, int first) {
    std::size_t n = 0;
    for (int level = 0;; ++level) {
        if (level >= first)
            n += std::size_t(width) * std::size_t(height) * 4;
        if (width <= 1 && height <= 1)
            return n;
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
    }
}

void Texture::completeMipChain() {
    if (!valid())
        return;
    // Keep only a consistent chain: each level half the size of the one above.
    std::size_t keep = 1;
    while (keep < levels.size() && levels[keep].width == std::max(1, levels[keep - 1].width / 2) &&
           levels[keep].height == std::max(1, levels[keep - 1].height / 2))
        ++keep;
    levels.resize(keep);
    while (levels.back().width > 1 || levels.back().height > 1) {
        const TextureLevel& src = levels.back();
        TextureLevel dst;
        dst.width = std::max(1, src.width / 2);
        dst.height = std::max(1, src.height / 2);
        dst.rgba.resize(std::size_t(dst.width) * std::size_t(dst.height) * 4);
        for (int y = 0; y < dst.height; ++y)
            for (int x = 0; x < dst.width; ++x) {
                const int x0 = std::min(2 * x, src.width - 1),
                          x1 = std::min(2 * x + 1, src.width - 1);
                const int y0 = std::min(2 * y, src.height - 1),
                          y1 = std::min(2 * y + 1, src.height - 1);
                for (int c = 0; c < 4; ++c) {
                    auto at = [&](int sx, int sy) {
                        return unsigned(
                            src.rgba[(std::size_t(sy) * std::size_t(src.width) + std::size_t(sx)) *
                                         4 +
                                     std::size_t(c)]);
                    };
                    const unsigned sum = at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
                    dst.rgba[(std::size_t(y) * std::size_t(dst.width) + std::size_t(x)) * 4 +
                             std::size_t(c)] = std::uint8_t((sum + 2) / 4);
                }
            }
        levels.push_back(std::move(dst));
    }
}

Texture Texture::solid(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    Texture t;
    t.levels.push_back(TextureLevel{1, 1, {r, g, b, a}});
    t.hasAlpha = a != 255;
    return t;
}

} // namespace render
