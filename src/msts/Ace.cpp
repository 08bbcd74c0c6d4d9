#include "msts/Ace.h"

#include "msts/Container.h"
#include "msts/Dxt.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace msts {

namespace {

constexpr std::size_t headerBytes = 152;
constexpr std::uint32_t flagMipmaps = 0x01;
constexpr std::uint32_t flagRaw = 0x10;
constexpr std::uint32_t maxChannels = 16;

enum ChannelType : std::uint64_t { Mask = 2, Red = 3, Green = 4, Blue = 5, Alpha = 6 };

struct Channel {
    std::uint64_t bits = 8;
    std::uint64_t type = 0;
};

struct LevelSize {
    std::uint32_t width, height;
};

class AceDecoder {
public:
    AceDecoder(std::span<const std::byte> payload, std::uint64_t base, const AceOptions& options,
               AceResult& result)
        : p_(payload), base_(base), options_(options), image_(result.image),
          d_(result.diagnostics) {}

    bool run() {
        if (p_.size() < headerBytes) {
            d_.error(DiagCode::TruncatedHeader, base_, "texture header");
            return false;
        }
        if (i32(0) != 1) {
            d_.error(DiagCode::BadAceSignature, base_, "signature 1 expected");
            return false;
        }
        const std::uint32_t flags = u32(4);
        const std::int32_t width = i32(8);
        const std::int32_t height = i32(12);
        const std::uint32_t format = u32(16);
        const std::int32_t channels = i32(20);
        if (width <= 0 || height <= 0) {
            d_.error(DiagCode::BadDimensions, base_ + 8,
                     std::to_string(width) + "x" + std::to_string(height));
            return false;
        }
        if (static_cast<std::uint32_t>(width) > maxAceSide ||
            static_cast<std::uint32_t>(height) > maxAceSide) {
            d_.error(DiagCode::ImageTooLarge, base_ + 8,
                     std::to_string(width) + "x" + std::to_string(height));
            return false;
        }
        if (channels <= 0 || static_cast<std::uint32_t>(channels) > maxChannels) {
            d_.error(DiagCode::BadChannels, base_ + 20, std::to_string(channels) + " channels");
            return false;
        }
        const std::size_t descriptorsEnd = headerBytes + 16 * static_cast<std::size_t>(channels);
        if (p_.size() < descriptorsEnd) {
            d_.error(DiagCode::TruncatedHeader, base_ + headerBytes, "channel descriptors");
            return false;
        }
        for (std::int32_t c = 0; c < channels; ++c) {
            Channel ch{u64(headerBytes + 16 * c), u64(headerBytes + 16 * c + 8)};
            if (ch.bits != 1 && ch.bits != 8) {
                d_.error(DiagCode::BadChannels, base_ + headerBytes + 16 * c,
                         std::to_string(ch.bits) + "-bit channel");
                return false;
            }
            channels_.push_back(ch);
            if (ch.type == Alpha && ch.bits == 8)
                hasAlphaChannel_ = true;
            if (ch.type == Mask)
                hasMask_ = true;
        }

        image_.width = static_cast<std::uint32_t>(width);
        image_.height = static_cast<std::uint32_t>(height);
        levels_.push_back({image_.width, image_.height});
        if (flags & flagMipmaps) {
            if (width != height || (width & (width - 1)) != 0)
                d_.warn(DiagCode::BadMipChain, base_ + 4, "mipmaps on a non-square or odd size");
            std::uint32_t w = image_.width, h = image_.height;
            while (w > 1 || h > 1) {
                w = w > 1 ? w / 2 : 1;
                h = h > 1 ? h / 2 : 1;
                levels_.push_back({w, h});
            }
        }
        pos_ = descriptorsEnd;
        AceFormat kind = AceFormat::Planar;
        if (flags & flagRaw) {
            switch (format) {
            case 0x12:
                kind = AceFormat::Dxt1;
                break;
            case 0x14:
                kind = AceFormat::Dxt3;
                break;
            case 0x16:
                kind = AceFormat::Dxt5;
                break;
            default:
                d_.error(DiagCode::UnsupportedFormat, base_ + 16,
                         "raw surface format " + std::to_string(format));
                return false;
            }
        }
        image_.mipmapped = levels_.size() > 1;
        if (options_.chooseFirstLevel) {
            const AceInfo info{image_.width, image_.height,
                               static_cast<std::uint32_t>(levels_.size()), kind};
            const std::optional<std::uint32_t> first = options_.chooseFirstLevel(info);
            if (!first) {
                finish(kind);
                return true;
            }
            first_ = std::min<std::size_t>(*first, levels_.size() - 1);
        }
        if (flags & flagRaw)
            return raw(kind);
        return planar();
    }

private:
    // Stride of one planar row: each channel a plane, 8-bit = a byte a pixel, 1-bit packed.
    std::size_t rowBytes(std::uint32_t width) const {
        std::size_t bytes = 0;
        for (const auto& ch : channels_)
            bytes += ch.bits == 8 ? width : (width + 7) / 8;
        return bytes;
    }

    bool planar() {
        std::size_t rows = 0;
        for (const auto& l : levels_)
            rows += l.height;
        if ((p_.size() - pos_) / 4 < rows) {
            d_.error(DiagCode::TruncatedData, base_ + pos_, "row offset table");
            return false;
        }
        const std::size_t table = pos_;
        pos_ += rows * 4;
        if (p_.size() - pos_ < rowBytes(levels_[0].width) * levels_[0].height) {
            d_.error(DiagCode::TruncatedData, base_ + pos_, "level 0 rows");
            return false;
        }
        // Rows are read one after another; the table is only checked, since some tools
        // write offsets that do not match where the rows are.
        bool offsetsAgree = true;
        std::size_t row = 0;
        std::size_t expected = pos_;
        for (const auto& l : levels_) {
            for (std::uint32_t y = 0; y < l.height; ++y, ++row) {
                if (u32(table + row * 4) != expected)
                    offsetsAgree = false;
                expected += rowBytes(l.width);
            }
        }
        if (!offsetsAgree)
            d_.warn(DiagCode::BadRowOffsets, base_ + table, "rows read one after another");
        // Levels above the first one wanted are stepped over; should the file end before
        // it, the last whole level stands in for it.
        std::size_t lastSkipped = levels_.size(), lastSkippedAt = 0;
        for (std::size_t i = 0; i < levels_.size(); ++i) {
            if (!image_.levels.empty() && options_.firstLevelOnly)
                break;
            const auto& l = levels_[i];
            const std::size_t bytes = rowBytes(l.width) * l.height;
            if (p_.size() - pos_ < bytes) {
                d_.warn(DiagCode::TruncatedData, base_ + pos_,
                        "mip level " + std::to_string(i) + " missing");
                break;
            }
            if (i < first_) {
                lastSkipped = i;
                lastSkippedAt = pos_;
                pos_ += bytes;
                continue;
            }
            if (image_.levels.empty())
                image_.firstLevel = static_cast<std::uint32_t>(i);
            image_.levels.push_back(planarLevel(l));
        }
        if (image_.levels.empty() && lastSkipped < levels_.size()) {
            pos_ = lastSkippedAt;
            image_.firstLevel = static_cast<std::uint32_t>(lastSkipped);
            image_.levels.push_back(planarLevel(levels_[lastSkipped]));
        }
        finish(AceFormat::Planar);
        return true;
    }

    // Reads one level's rows at pos_ (bounds already checked).
    AceLevel planarLevel(LevelSize size) {
        AceLevel level{size.width, size.height, {}};
        level.rgba.assign(std::size_t{size.width} * size.height * 4, 0);
        for (std::uint32_t y = 0; y < size.height; ++y) {
            std::uint8_t* out = level.rgba.data() + std::size_t{y} * size.width * 4;
            bool alphaSet = false;
            bool maskSet = false;
            for (std::uint32_t x = 0; x < size.width; ++x)
                out[x * 4 + 3] = 255;
            for (const auto& ch : channels_) {
                const auto* plane = reinterpret_cast<const std::uint8_t*>(p_.data() + pos_);
                if (ch.bits == 8) {
                    int slot = ch.type == Red     ? 0
                               : ch.type == Green ? 1
                               : ch.type == Blue  ? 2
                               : ch.type == Alpha ? 3
                                                  : -1;
                    if (slot >= 0)
                        for (std::uint32_t x = 0; x < size.width; ++x)
                            out[x * 4 + static_cast<std::uint32_t>(slot)] = plane[x];
                    if (ch.type == Alpha)
                        alphaSet = true;
                    pos_ += size.width;
                } else {
                    // The 8-bit alpha wins over the mask whichever comes first.
                    if (ch.type == Mask && !alphaSet && !hasAlphaChannel_) {
                        for (std::uint32_t x = 0; x < size.width; ++x) {
                            const bool on = (plane[x / 8] >> (7 - x % 8)) & 1;
                            out[x * 4 + 3] = on ? 255 : 0;
                        }
                        maskSet = true;
                    }
                    pos_ += (size.width + 7) / 8;
                }
            }
            (void)maskSet;
        }
        return level;
    }

    bool raw(AceFormat kind) {
        const DxtKind dxt = kind == AceFormat::Dxt3   ? DxtKind::Dxt3
                            : kind == AceFormat::Dxt5 ? DxtKind::Dxt5
                                                      : DxtKind::Dxt1;
        const std::size_t blockBytes = dxtBlockBytes(dxt);
        if ((p_.size() - pos_) / 4 < levels_.size()) {
            d_.error(DiagCode::TruncatedData, base_ + pos_, "level offset table");
            return false;
        }
        const std::size_t table = pos_;
        pos_ += levels_.size() * 4;
        bool offsetsAgree = true;
        // Where the last level stepped over starts, should the file end before the first
        // level wanted.
        std::size_t lastSkipped = levels_.size(), lastSkippedAt = 0;
        for (std::size_t i = 0; i < levels_.size(); ++i) {
            if (!image_.levels.empty() && options_.firstLevelOnly)
                break;
            const auto& l = levels_[i];
            const bool blocks = l.width >= 4 && l.height >= 4;
            if (u32(table + i * 4) != pos_)
                offsetsAgree = false;
            const std::uint64_t at = base_ + pos_;
            const bool wanted = i >= first_;
            if (blocks) {
                const std::size_t need =
                    std::size_t{(l.width + 3) / 4} * ((l.height + 3) / 4) * blockBytes;
                if (p_.size() - pos_ < 4 || u32(pos_) < need || p_.size() - pos_ - 4 < need) {
                    if (i == 0) {
                        d_.error(DiagCode::TruncatedData, at, "level 0 blocks");
                        return false;
                    }
                    d_.warn(DiagCode::TruncatedData, at,
                            "mip level " + std::to_string(i) + " missing");
                    break;
                }
                std::size_t length = u32(pos_);
                pos_ += 4;
                // A length running past the end keeps the blocks it needs and ends the chain.
                const bool cutShort = length > p_.size() - pos_;
                if (cutShort) {
                    d_.warn(DiagCode::TruncatedData, at, "level length runs past the end");
                    length = need;
                }
                if (wanted)
                    pushBlocks(i, dxt);
                else {
                    lastSkipped = i;
                    lastSkippedAt = pos_;
                }
                pos_ += length;
                if (cutShort)
                    break;
            } else {
                if (p_.size() - pos_ < rowBytes(l.width) * l.height) {
                    d_.warn(DiagCode::TruncatedData, at,
                            "mip level " + std::to_string(i) + " missing");
                    break;
                }
                if (wanted) {
                    if (image_.levels.empty())
                        image_.firstLevel = static_cast<std::uint32_t>(i);
                    image_.levels.push_back(planarLevel(l));
                } else {
                    lastSkipped = i;
                    lastSkippedAt = pos_;
                    pos_ += rowBytes(l.width) * l.height;
                }
            }
        }
        if (image_.levels.empty() && lastSkipped < levels_.size()) {
            const auto& l = levels_[lastSkipped];
            pos_ = lastSkippedAt;
            if (l.width >= 4 && l.height >= 4)
                pushBlocks(lastSkipped, dxt);
            else {
                image_.firstLevel = static_cast<std::uint32_t>(lastSkipped);
                image_.levels.push_back(planarLevel(l));
            }
        }
        if (!offsetsAgree)
            d_.warn(DiagCode::BadRowOffsets, base_ + table, "levels read one after another");
        finish(kind);
        return true;
    }

    // Decodes the blocks of level i at pos_ (bounds already checked) as the next level.
    void pushBlocks(std::size_t i, DxtKind dxt) {
        const auto& l = levels_[i];
        if (image_.levels.empty())
            image_.firstLevel = static_cast<std::uint32_t>(i);
        AceLevel level{l.width, l.height, {}};
        level.rgba.resize(std::size_t{l.width} * l.height * 4);
        decodeDxt(dxt, p_.data() + pos_, l.width, l.height, level.rgba.data());
        image_.levels.push_back(std::move(level));
    }

    void finish(AceFormat format) {
        image_.format = format;
        if (format == AceFormat::Dxt3 || format == AceFormat::Dxt5)
            image_.hasAlpha = true;
        else
            image_.hasAlpha = hasAlphaChannel_ || hasMask_;
        image_.hasMask =
            hasMask_ && !hasAlphaChannel_ && format != AceFormat::Dxt3 && format != AceFormat::Dxt5;
    }

    std::uint32_t u32(std::size_t at) const {
        std::uint32_t v;
        std::memcpy(&v, p_.data() + at, 4);
        return v;
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::uint64_t u64(std::size_t at) const {
        std::uint64_t v;
        std::memcpy(&v, p_.data() + at, 8);
        return v;
    }

    std::span<const std::byte> p_;
    std::uint64_t base_;
    const AceOptions& options_;
    AceImage& image_;
    Diagnostics& d_;
    std::vector<Channel> channels_;
    std::vector<LevelSize> levels_;
    std::size_t pos_ = 0;
    std::size_t first_ = 0; // first level to decode
    bool hasAlphaChannel_ = false;
    bool hasMask_ = false;
};

} // namespace

AceResult readAce(std::span<const std::byte> bytes, const AceOptions& options) {
    AceResult result;
    auto opened = openContainer(bytes);
    result.diagnostics.append(opened.diagnostics);
    if (!opened.ok())
        return result;
    if (opened.container.kind != PayloadKind::Ace) {
        result.diagnostics.error(DiagCode::WrongFileType, 0, "not a texture");
        return result;
    }
    AceDecoder decoder(opened.container.body(), opened.container.bodyStart, options, result);
    try {
        if (!decoder.run())
            result.image = AceImage{};
    } catch (const std::bad_alloc&) {
        result.diagnostics.error(DiagCode::ImageTooLarge, 0, "out of memory");
        result.image = AceImage{};
    }
    return result;
}

} // namespace msts
