#pragma once

// Decoding DXT1, DXT3 and DXT5 blocks into RGBA pictures, on the calling thread.
//
// Results are the usual ones for these formats, byte for byte what libsquish gives: RGB565
// end colours widened by repeating their high bits, the two middle colours at a third and
// two thirds (integer division), DXT1's three-colour blocks (first end colour not above the
// second) with a transparent black fourth entry, DXT3's 4-bit alpha widened by repetition,
// DXT5's alpha ramps of six or eight steps. Decoding a level is a tight loop over blocks
// written straight into the picture's rows; no thread pool is involved.

#include <cstddef>
#include <cstdint>

namespace msts {

enum class DxtKind : std::uint8_t { Dxt1, Dxt3, Dxt5 };

// Bytes of one 4×4 block.
constexpr std::size_t dxtBlockBytes(DxtKind kind) {
    return kind == DxtKind::Dxt1 ? 8 : 16;
}

// Decodes the row-major blocks of a width × height picture (ceil(w/4) × ceil(h/4) blocks)
// into `rgba` (width × height × 4 bytes, rows top to bottom). Texels of edge blocks that lie
// outside the picture are dropped.
void decodeDxt(DxtKind kind, const std::byte* blocks, std::uint32_t width, std::uint32_t height,
               std::uint8_t* rgba);

} // namespace msts
