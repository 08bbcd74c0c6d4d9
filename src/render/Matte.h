#pragma once

// Transparency for pictures drawn over a solid background. The renderer mixes every sample
// with the background linearly: opaque and alpha-tested parts replace it, blended parts keep
// a share of it, and the supersampled edges average both. So the same picture drawn once over
// black and once over white tells, pixel by pixel, how much background shows through: the
// difference of the two is that share, and the picture over black divided by what covers the
// pixel is the colour of the vehicle there.

#include "render/Image.h"

namespace render {

// The picture with straight alpha from the same scene drawn over black and over white; an
// empty picture when the two differ in size or are empty.
RgbaImage matteFromBackgrounds(const RgbImage& overBlack, const RgbImage& overWhite);

} // namespace render
