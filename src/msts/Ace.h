#pragma once

// Reading texture files (.ace) into RGBA pictures.
//
// An ACE payload (after the SIMIS header, possibly zlib-compressed) is a 152-byte header,
// one descriptor per channel, then either planar scanlines (each channel a separate plane
// per row; 8-bit channels one byte a pixel, the 1-bit mask packed with the most significant
// bit leftmost) behind a table of row offsets, or raw DXT1/3/5 blocks per mip level behind a
// table of level offsets, with levels under 4x4 stored planar. Row offsets written by some
// tools are wrong, so planar rows are read one after another and the table only checked.

#include "msts/Diagnostics.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace msts {

enum class AceFormat : std::uint8_t { Planar, Dxt1, Dxt3, Dxt5 };

struct AceLevel {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba; // width * height * 4 bytes, rows top to bottom
};

struct AceImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<AceLevel> levels; // level 0 is full size; halves down to 1x1 when mipmapped
    // True when the picture carries transparency: an 8-bit alpha channel, a 1-bit mask, or
    // a DXT3/DXT5 alpha block. A DXT1 picture has alpha only when it declares a mask
    // channel. The levels keep the decoded alpha either way (a DXT1 3-colour block's
    // transparent texels are 0), so an alpha-tested material can still cut them out.
    bool hasAlpha = false;
    bool hasMask = false; // alpha from a 1-bit mask only (values 0 or 255)
    AceFormat format = AceFormat::Planar;
};

struct AceResult {
    AceImage image; // empty (0x0, no levels) when reading failed
    Diagnostics diagnostics;
    bool ok() const { return !diagnostics.hasErrors(); }
};

struct AceOptions {
    bool firstLevelOnly = false; // decode level 0 only (thumbnails need no mipmaps)
};

// Largest width or height accepted.
inline constexpr std::uint32_t maxAceSide = 4096;

// Reads a whole .ace file given as its bytes. Never throws for bad input.
AceResult readAce(std::span<const std::byte> bytes, const AceOptions& options = {});

} // namespace msts
