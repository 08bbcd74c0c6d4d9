#include "render/Matte.h"

#include <algorithm>
#include <cmath>

namespace render {

RgbaImage matteFromBackgrounds(const RgbImage& overBlack, const RgbImage& overWhite) {
    RgbaImage out;
    const std::size_t pixels = std::size_t(std::max(overBlack.width, 0)) *
                               std::size_t(std::max(overBlack.height, 0));
    if (pixels == 0 || overBlack.width != overWhite.width ||
        overBlack.height != overWhite.height || overBlack.rgb.size() != pixels * 3 ||
        overWhite.rgb.size() != pixels * 3)
        return out;
    out.width = overBlack.width;
    out.height = overBlack.height;
    out.rgba.resize(pixels * 4);
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* black = &overBlack.rgb[i * 3];
        const std::uint8_t* white = &overWhite.rgb[i * 3];
        // The three channels see the same share; their mean evens out the rounding of each.
        int shown = 0;
        for (int c = 0; c < 3; ++c)
            shown += int(white[c]) - int(black[c]);
        const float alpha = std::clamp(1.0f - float(shown) / (3.0f * 255.0f), 0.0f, 1.0f);
        std::uint8_t* p = &out.rgba[i * 4];
        const auto a = std::uint8_t(std::lround(alpha * 255.0f));
        p[3] = a;
        for (int c = 0; c < 3; ++c)
            p[c] = a == 0 ? 0
                          : std::uint8_t(std::min(
                                255L, std::lround(float(black[c]) * 255.0f / float(a))));
    }
    return out;
}

} // namespace render
