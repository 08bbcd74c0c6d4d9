#pragma once

// Writing texture files (.ace) in each of the simulator's layouts, for fixtures.

#include "support/SimisWriter.h"

#include <cstdint>
#include <vector>

namespace fixtures {

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba; // rows top to bottom
};

enum class AceLayout {
    Rgb,          // planar R, G, B
    RgbMask,      // planar R, G, B and a 1-bit mask (alpha >= 128)
    RgbMaskAlpha, // planar R, G, B, mask and 8-bit alpha
    Dxt1,         // DXT1 blocks, R, G, B descriptors
    Dxt1Mask,     // DXT1 blocks, R, G, B and mask descriptors
    Dxt3,
    Dxt5,
};

struct AceWriteOptions {
    AceLayout layout = AceLayout::Rgb;
    bool mipmaps = false;
    bool compressed = false;
    // Row offsets with a four times too large stride, as one route editor writes them.
    bool wrongRowOffsets = false;
};

Bytes writeAce(const Picture& picture, const AceWriteOptions& options);

// A DXT1 texture whose level 0 is the given blocks (8 bytes each, row-major), no mipmaps.
Bytes writeDxt1Blocks(std::uint32_t width, std::uint32_t height, const Bytes& blocks,
                      bool maskDescriptor);

// A picture with a distinct colour per pixel and a varying alpha, for round trips.
Picture testPicture(std::uint32_t width, std::uint32_t height);

} // namespace fixtures
