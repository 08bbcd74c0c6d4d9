#pragma once

// Scaling a picture so that its longest side has a given length, keeping its proportions:
// what a file manager asks of a thumbnail. Shrinking averages every source pixel a target
// pixel covers; enlarging interpolates between the nearest four. Colours are weighted by
// their alpha, so that transparent pixels lend no colour to the edges of what they surround.

#include "render/Image.h"

namespace render {

struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(PictureSize, PictureSize) = default;
};

// The size of a width × height picture scaled so that its longer side is `longest`, the
// shorter rounded and at least 1; 0 × 0 when a side or `longest` is below 1.
PictureSize fitLongestSide(int width, int height, int longest);

// The picture at fitLongestSide of its size; an empty picture for an invalid source or a
// `longest` below 1.
RgbaImage resizeToFit(const RgbaImage& source, int longest);

} // namespace render
