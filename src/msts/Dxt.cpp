#include "msts/Dxt.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace msts {

namespace {

struct Colour {
    unsigned r, g, b;
};

Colour widen565(unsigned v) {
    const unsigned r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
    return {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

// R, G, B, A as a word whose bytes lie in that order in memory.
std::uint32_t pack(unsigned r, unsigned g, unsigned b, unsigned a) {
    static_assert(std::endian::native == std::endian::little);
    return (r & 0xFFu) | (g & 0xFFu) << 8 | (b & 0xFFu) << 16 | (a & 0xFFu) << 24;
}

// The four colours of a colour block (8 bytes) as RGBA words in memory order. DXT3 and
// DXT5 colour blocks always use four colours.
std::array<std::uint32_t, 4> palette(const std::uint8_t* block, bool dxt1) {
    const unsigned v0 = unsigned(block[0]) | unsigned(block[1]) << 8;
    const unsigned v1 = unsigned(block[2]) | unsigned(block[3]) << 8;
    const Colour c0 = widen565(v0), c1 = widen565(v1);
    std::array<std::uint32_t, 4> p;
    p[0] = pack(c0.r, c0.g, c0.b, 255);
    p[1] = pack(c1.r, c1.g, c1.b, 255);
    if (dxt1 && v0 <= v1) {
        p[2] = pack((c0.r + c1.r) / 2, (c0.g + c1.g) / 2, (c0.b + c1.b) / 2, 255);
        p[3] = 0;
    } else {
        p[2] = pack((2 * c0.r + c1.r) / 3, (2 * c0.g + c1.g) / 3, (2 * c0.b + c1.b) / 3, 255);
        p[3] = pack((c0.r + 2 * c1.r) / 3, (c0.g + 2 * c1.g) / 3, (c0.b + 2 * c1.b) / 3, 255);
    }
    return p;
}

// Alpha of the 16 texels of a DXT3 or DXT5 alpha block (8 bytes).
std::array<std::uint8_t, 16> alphas(const std::uint8_t* block, DxtKind kind) {
    std::array<std::uint8_t, 16> a;
    if (kind == DxtKind::Dxt3) {
        for (int i = 0; i < 8; ++i) {
            const unsigned lo = block[i] & 0x0Fu, hi = block[i] & 0xF0u;
            a[std::size_t(2 * i)] = std::uint8_t(lo | (lo << 4));
            a[std::size_t(2 * i + 1)] = std::uint8_t(hi | (hi >> 4));
        }
        return a;
    }
    const unsigned a0 = block[0], a1 = block[1];
    std::array<std::uint8_t, 8> ramp;
    ramp[0] = std::uint8_t(a0);
    ramp[1] = std::uint8_t(a1);
    if (a0 <= a1) {
        for (unsigned i = 1; i < 5; ++i)
            ramp[1 + i] = std::uint8_t(((5 - i) * a0 + i * a1) / 5);
        ramp[6] = 0;
        ramp[7] = 255;
    } else {
        for (unsigned i = 1; i < 7; ++i)
            ramp[1 + i] = std::uint8_t(((7 - i) * a0 + i * a1) / 7);
    }
    // Two groups of eight 3-bit indices, three bytes each.
    for (int group = 0; group < 2; ++group) {
        const std::uint8_t* b = block + 2 + 3 * group;
        const unsigned bits = unsigned(b[0]) | unsigned(b[1]) << 8 | unsigned(b[2]) << 16;
        for (int i = 0; i < 8; ++i)
            a[std::size_t(8 * group + i)] = ramp[(bits >> (3 * i)) & 7];
    }
    return a;
}

} // namespace

void decodeDxt(DxtKind kind, const std::byte* blocks, std::uint32_t width, std::uint32_t height,
               std::uint8_t* rgba) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(blocks);
    const std::size_t blockBytes = dxtBlockBytes(kind);
    const std::size_t stride = std::size_t(width) * 4;
    for (std::uint32_t by = 0; by < height; by += 4) {
        const std::uint32_t rows = std::min(4u, height - by);
        for (std::uint32_t bx = 0; bx < width; bx += 4, in += blockBytes) {
            const std::uint32_t columns = std::min(4u, width - bx);
            const std::uint8_t* colourBlock = kind == DxtKind::Dxt1 ? in : in + 8;
            const std::array<std::uint32_t, 4> p = palette(colourBlock, kind == DxtKind::Dxt1);
            std::uint8_t* out = rgba + std::size_t(by) * stride + std::size_t(bx) * 4;
            if (rows == 4 && columns == 4) {
                // A whole block, nearly all of them: four texels a row, written at once.
                for (std::uint32_t y = 0; y < 4; ++y) {
                    const unsigned indices = colourBlock[4 + y];
                    const std::uint32_t texels[4] = {p[indices & 3], p[(indices >> 2) & 3],
                                                     p[(indices >> 4) & 3], p[indices >> 6]};
                    std::memcpy(out + std::size_t(y) * stride, texels, sizeof texels);
                }
            } else {
                for (std::uint32_t y = 0; y < rows; ++y) {
                    const unsigned indices = colourBlock[4 + y];
                    std::uint8_t* row = out + std::size_t(y) * stride;
                    for (std::uint32_t x = 0; x < columns; ++x)
                        std::memcpy(row + x * 4, &p[(indices >> (2 * x)) & 3], 4);
                }
            }
            if (kind == DxtKind::Dxt1)
                continue;
            const std::array<std::uint8_t, 16> a = alphas(in, kind);
            for (std::uint32_t y = 0; y < rows; ++y) {
                std::uint8_t* row = out + std::size_t(y) * stride;
                for (std::uint32_t x = 0; x < columns; ++x)
                    row[x * 4 + 3] = a[4 * y + x];
            }
        }
    }
}

} // namespace msts
