#pragma once

// PNG output for the file-manager thumbnails: 8-bit RGBA, straight alpha, as the freedesktop
// thumbnail convention stores them.

#include "render/Image.h"

#include <cstdint>
#include <vector>

namespace render {

// The bytes of a .png file holding the picture; empty for an invalid or empty picture.
std::vector<std::uint8_t> encodePng(const RgbaImage& image);

} // namespace render
