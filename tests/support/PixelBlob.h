#pragma once

// Where the pixels of a picture that pass a test lie: their count and mean position, for
// tests that check where something was drawn rather than every pixel.

#include "render/Image.h"

namespace fixtures {

struct Blob {
    double x = 0, y = 0;
    int count = 0; // 0 when no pixel passes
};

template <typename Test> Blob blobWhere(const render::RgbImage& image, Test passes) {
    Blob b;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (passes(image.pixel(x, y))) {
                b.x += x;
                b.y += y;
                ++b.count;
            }
    if (b.count) {
        b.x /= b.count;
        b.y /= b.count;
    }
    return b;
}

} // namespace fixtures
