#pragma once

// Golden-picture comparison for the renderer tests. Goldens are PNG files in the source tree;
// on a mismatch the actual picture and a difference picture go into the build tree and the
// failure message says where. Setting PICTELLE_UPDATE_GOLDEN=1 rewrites the goldens.

#include "render/Image.h"

#include <cstddef>
#include <string>

namespace testscene {

struct Comparison {
    bool matches = false;
    std::string message;
};

// Matches when no channel of any pixel differs by more than `tolerance` and at most
// `maxDifferentPixels` pixels differ at all.
Comparison compareWithGolden(const render::RgbImage& actual, const std::string& name, int tolerance,
                             int maxDifferentPixels);

// Writes a picture as PNG (for failures and for looking at the output).
bool writePng(const render::RgbImage& image, const std::string& path);

// The RGBA picture a PNG file's bytes hold, whatever its channels; an empty picture when the
// bytes are no PNG. `channels` gets the number the file stores.
render::RgbaImage readPng(const unsigned char* bytes, std::size_t size, int* channels = nullptr);

} // namespace testscene
