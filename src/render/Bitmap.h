#pragma once

// Windows bitmap output: 24 bits a pixel, BI_RGB, rows stored bottom-up and padded to four
// bytes, as every bitmap reader expects.

#include "render/Image.h"

#include <cstdint>
#include <vector>

namespace render {

// The bytes of a .bmp file holding the picture; empty for an empty picture.
std::vector<std::uint8_t> encodeBmp(const RgbImage& image);

} // namespace render
