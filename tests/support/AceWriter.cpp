#include "support/AceWriter.h"

#include <squish.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace fixtures {

namespace {

struct ChannelSpec {
    std::uint64_t bits;
    std::uint64_t type; // 2 mask, 3 red, 4 green, 5 blue, 6 alpha
};

std::vector<ChannelSpec> channelsOf(AceLayout layout) {
    switch (layout) {
    case AceLayout::Rgb:
    case AceLayout::Dxt1:
        return {{8, 3}, {8, 4}, {8, 5}};
    case AceLayout::RgbMask:
    case AceLayout::Dxt1Mask:
        return {{8, 3}, {8, 4}, {8, 5}, {1, 2}};
    case AceLayout::RgbMaskAlpha:
        return {{8, 3}, {8, 4}, {8, 5}, {1, 2}, {8, 6}};
    case AceLayout::Dxt3:
    case AceLayout::Dxt5:
        return {{8, 3}, {8, 4}, {8, 5}, {8, 6}};
    }
    return {};
}

std::uint32_t formatOf(AceLayout layout) {
    switch (layout) {
    case AceLayout::Rgb:
        return 0x0E;
    case AceLayout::RgbMask:
        return 0x10;
    case AceLayout::RgbMaskAlpha:
        return 0x11;
    case AceLayout::Dxt1:
    case AceLayout::Dxt1Mask:
        return 0x12;
    case AceLayout::Dxt3:
        return 0x14;
    case AceLayout::Dxt5:
        return 0x16;
    }
    return 0;
}

bool isDxt(AceLayout layout) {
    return layout == AceLayout::Dxt1 || layout == AceLayout::Dxt1Mask ||
           layout == AceLayout::Dxt3 || layout == AceLayout::Dxt5;
}

void header(Bytes& out, std::uint32_t flags, std::uint32_t width, std::uint32_t height,
            std::uint32_t format, const std::vector<ChannelSpec>& channels) {
    appendU32(out, 1);
    appendU32(out, flags);
    appendU32(out, width);
    appendU32(out, height);
    appendU32(out, format);
    appendU32(out, static_cast<std::uint32_t>(channels.size()));
    appendU32(out, 0);
    std::string unknown = "Unknown";
    unknown.resize(16, '\0');
    appendAscii(out, unknown);
    std::string creator = "ACE file written by the test fixtures";
    creator.resize(64, '\0');
    appendAscii(out, creator);
    out.resize(out.size() + 44, std::byte{0});
    for (const auto& c : channels) {
        for (int i = 0; i < 8; ++i)
            out.push_back(static_cast<std::byte>((c.bits >> (8 * i)) & 0xFF));
        for (int i = 0; i < 8; ++i)
            out.push_back(static_cast<std::byte>((c.type >> (8 * i)) & 0xFF));
    }
}

Picture halve(const Picture& p) {
    Picture h;
    h.width = std::max(1u, p.width / 2);
    h.height = std::max(1u, p.height / 2);
    h.rgba.resize(std::size_t{h.width} * h.height * 4);
    for (std::uint32_t y = 0; y < h.height; ++y)
        for (std::uint32_t x = 0; x < h.width; ++x)
            for (std::uint32_t c = 0; c < 4; ++c) {
                unsigned sum = 0;
                for (std::uint32_t dy = 0; dy < 2; ++dy)
                    for (std::uint32_t dx = 0; dx < 2; ++dx) {
                        const std::uint32_t sx = std::min(p.width - 1, x * 2 + dx);
                        const std::uint32_t sy = std::min(p.height - 1, y * 2 + dy);
                        sum += p.rgba[(std::size_t{sy} * p.width + sx) * 4 + c];
                    }
                h.rgba[(std::size_t{y} * h.width + x) * 4 + c] = static_cast<std::uint8_t>(sum / 4);
            }
    return h;
}

std::size_t rowBytes(std::uint32_t width, const std::vector<ChannelSpec>& channels) {
    std::size_t n = 0;
    for (const auto& c : channels)
        n += c.bits == 8 ? width : (width + 7) / 8;
    return n;
}

void planarRows(Bytes& out, const Picture& p, const std::vector<ChannelSpec>& channels) {
    for (std::uint32_t y = 0; y < p.height; ++y) {
        const std::uint8_t* row = p.rgba.data() + std::size_t{y} * p.width * 4;
        for (const auto& c : channels) {
            if (c.bits == 8) {
                const std::size_t slot = c.type == 3 ? 0 : c.type == 4 ? 1 : c.type == 5 ? 2 : 3;
                for (std::uint32_t x = 0; x < p.width; ++x)
                    out.push_back(static_cast<std::byte>(row[x * 4 + slot]));
            } else {
                for (std::uint32_t x0 = 0; x0 < p.width; x0 += 8) {
                    unsigned bits = 0;
                    for (std::uint32_t k = 0; k < 8; ++k) {
                        const std::uint32_t x = x0 + k;
                        if (x < p.width && row[x * 4 + 3] >= 128)
                            bits |= 0x80u >> k;
                    }
                    out.push_back(static_cast<std::byte>(bits));
                }
            }
        }
    }
}

} // namespace

Bytes writeAce(const Picture& picture, const AceWriteOptions& options) {
    const auto channels = channelsOf(options.layout);
    std::vector<Picture> levels{picture};
    if (options.mipmaps)
        while (levels.back().width > 1 || levels.back().height > 1)
            levels.push_back(halve(levels.back()));

    std::uint32_t flags = options.mipmaps ? 0x01 : 0;
    if (isDxt(options.layout))
        flags |= 0x10;
    Bytes payload;
    header(payload, flags, picture.width, picture.height, formatOf(options.layout), channels);

    if (!isDxt(options.layout)) {
        std::size_t rows = 0;
        for (const auto& l : levels)
            rows += l.height;
        const std::size_t first = payload.size() + rows * 4;
        std::size_t offset = first;
        std::size_t row = 0;
        for (const auto& l : levels)
            for (std::uint32_t y = 0; y < l.height; ++y, ++row) {
                const std::size_t stride = rowBytes(l.width, channels);
                appendU32(payload, static_cast<std::uint32_t>(options.wrongRowOffsets
                                                                  ? first + row * stride * 4
                                                                  : offset));
                offset += stride;
            }
        for (const auto& l : levels)
            planarRows(payload, l, channels);
        return simisWrap(payload, options.compressed);
    }

    const int squishFlags = options.layout == AceLayout::Dxt3   ? squish::kDxt3
                            : options.layout == AceLayout::Dxt5 ? squish::kDxt5
                                                                : squish::kDxt1;
    const std::size_t blockBytes = squishFlags == squish::kDxt1 ? 8 : 16;
    std::vector<Bytes> data;
    for (const auto& l : levels) {
        Bytes d;
        if (l.width >= 4 && l.height >= 4) {
            const std::size_t size =
                std::size_t{(l.width + 3) / 4} * ((l.height + 3) / 4) * blockBytes;
            Bytes blocks(size);
            // DXT1 without a mask is opaque: keep squish from making transparent texels.
            Picture source = l;
            if (options.layout == AceLayout::Dxt1)
                for (std::size_t i = 3; i < source.rgba.size(); i += 4)
                    source.rgba[i] = 255;
            squish::CompressImage(
                source.rgba.data(), static_cast<int>(l.width), static_cast<int>(l.height),
                blocks.data(),
                squishFlags |
                    (options.layout == AceLayout::Dxt1Mask ? squish::kWeightColourByAlpha : 0));
            appendU32(d, static_cast<std::uint32_t>(size));
            appendBytes(d, blocks);
        } else {
            std::vector<ChannelSpec> small = channels;
            planarRows(d, l, small);
        }
        data.push_back(std::move(d));
    }
    std::size_t offset = payload.size() + levels.size() * 4;
    for (const auto& d : data) {
        appendU32(payload, static_cast<std::uint32_t>(offset));
        offset += d.size();
    }
    for (const auto& d : data)
        appendBytes(payload, d);
    return simisWrap(payload, options.compressed);
}

Bytes writeDxt1Blocks(std::uint32_t width, std::uint32_t height, const Bytes& blocks,
                      bool maskDescriptor) {
    const auto channels = channelsOf(maskDescriptor ? AceLayout::Dxt1Mask : AceLayout::Dxt1);
    Bytes payload;
    header(payload, 0x10, width, height, 0x12, channels);
    appendU32(payload, static_cast<std::uint32_t>(payload.size() + 4));
    appendU32(payload, static_cast<std::uint32_t>(blocks.size()));
    appendBytes(payload, blocks);
    return simisWrap(payload, false);
}

Picture testPicture(std::uint32_t width, std::uint32_t height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.rgba.resize(std::size_t{width} * height * 4);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* px = p.rgba.data() + (std::size_t{y} * width + x) * 4;
            px[0] = static_cast<std::uint8_t>(x * 255 / std::max(1u, width - 1));
            px[1] = static_cast<std::uint8_t>(y * 255 / std::max(1u, height - 1));
            px[2] = static_cast<std::uint8_t>((x * 7 + y * 13) & 0xFF);
            px[3] = static_cast<std::uint8_t>(((x + y) % 3) * 127);
        }
    return p;
}

} // namespace fixtures
