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
#include <functional>
#include <optional>
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
    std::uint32_t width = 0; // of the full picture, whichever levels were decoded
    std::uint32_t height = 0;
    // levels[0] is this level of the file (0: full size); each next one is half as large.
    std::uint32_t firstLevel = 0;
    // The file stores its smaller levels (down to 1x1); without them it holds level 0 alone.
    bool mipmapped = false;
    std::vector<AceLevel> levels;
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

// What the header says, before any level is decoded.
struct AceInfo {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t storedLevels = 1; // levels the file announces: 1 without mipmaps
    AceFormat format = AceFormat::Planar;
};

struct AceOptions {
    bool firstLevelOnly = false; // decode the first level wanted only, no smaller ones
    // Called once the header is read: the level to start decoding at (levels above it, the
    // larger ones, are skipped; a file without mipmaps always gives its level 0), or nothing
    // to decode no level at all, leaving the result's header fields filled and its levels
    // empty. Unset: level 0.
    std::function<std::optional<std::uint32_t>(const AceInfo&)> chooseFirstLevel;
};

// Largest width or height accepted.
inline constexpr std::uint32_t maxAceSide = 4096;

// Reads a whole .ace file given as its bytes. Never throws for bad input.
AceResult readAce(std::span<const std::byte> bytes, const AceOptions& options = {});

} // namespace msts
