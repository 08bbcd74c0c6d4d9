// Our DXT decoder against libsquish's, byte for byte: on every block kind (DXT1 in both colour
// modes, DXT3, DXT5 with both alpha ramps), on pictures whose sides are not multiples of 4,
// and on the DXT texture fixtures as the ACE reader decodes them. And the ACE reader's choice
// of a first level: only the levels asked for are decoded, each equal to the whole decode's.

#include "support/AceWriter.h"

#include "msts/Ace.h"
#include "msts/Container.h"
#include "msts/Dxt.h"

#include <squish.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace {

std::vector<std::uint8_t> ours(msts::DxtKind kind, const std::vector<std::byte>& blocks, int w,
                               int h) {
    std::vector<std::uint8_t> rgba(std::size_t(w) * std::size_t(h) * 4, 0xAB);
    msts::decodeDxt(kind, blocks.data(), std::uint32_t(w), std::uint32_t(h), rgba.data());
    return rgba;
}

std::vector<std::uint8_t> squishes(int flags, const std::vector<std::byte>& blocks, int w, int h) {
    std::vector<std::uint8_t> rgba(std::size_t(w) * std::size_t(h) * 4, 0xAB);
    squish::DecompressImage(rgba.data(), w, h, blocks.data(), flags);
    return rgba;
}

// Random blocks, with the end colours and DXT5 end alphas forced into each ordering (and
// equality) so that every mode is met many times.
std::vector<std::byte> randomBlocks(msts::DxtKind kind, std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    const std::size_t size = msts::dxtBlockBytes(kind);
    std::vector<std::byte> bytes(count * size);
    for (std::size_t b = 0; b < count; ++b) {
        std::byte* block = bytes.data() + b * size;
        for (std::size_t i = 0; i < size; ++i)
            block[i] = std::byte(random() & 0xFF);
        std::byte* colour = kind == msts::DxtKind::Dxt1 ? block : block + 8;
        switch (b % 3) {
        case 0: // equal end colours: three-colour mode in DXT1
            colour[2] = colour[0];
            colour[3] = colour[1];
            break;
        case 1:
            std::swap(colour[1], colour[3]);
            break;
        default:
            break;
        }
        if (kind == msts::DxtKind::Dxt5 && b % 4 == 0)
            block[1] = block[0];
    }
    return bytes;
}

int squishFlags(msts::DxtKind kind) {
    return kind == msts::DxtKind::Dxt1   ? squish::kDxt1
           : kind == msts::DxtKind::Dxt3 ? squish::kDxt3
                                         : squish::kDxt5;
}

TEST(DxtDecode, everyBlockKindMatchesLibsquishByteForByte) {
    for (auto kind : {msts::DxtKind::Dxt1, msts::DxtKind::Dxt3, msts::DxtKind::Dxt5})
        for (auto [w, h] : {std::pair{64, 64}, {13, 7}, {4, 4}, {2, 1}, {30, 18}}) {
            const std::size_t blocks = std::size_t((w + 3) / 4) * std::size_t((h + 3) / 4);
            const auto data = randomBlocks(kind, blocks, unsigned(w * 31 + h));
            EXPECT_EQ(ours(kind, data, w, h), squishes(squishFlags(kind), data, w, h))
                << "kind " << int(kind) << ", " << w << "x" << h;
        }
}

std::vector<std::byte> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> chars{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::byte> bytes(chars.size());
    std::memcpy(bytes.data(), chars.data(), chars.size());
    return bytes;
}

// Every DXT level of the fixture textures, as the ACE reader decodes it, equals libsquish's
// decoding of the same blocks (found through the level offset table).
TEST(DxtDecode, fixtureTexturesDecodeAsLibsquishDecodesThem) {
    int levelsChecked = 0;
    for (const char* name : {"dxt1.ace", "dxt1_mask_compressed.ace", "dxt3.ace", "dxt5.ace"}) {
        const auto bytes = fileBytes(std::filesystem::path(MSTS_FIXTURE_DIR) / "textures" / name);
        ASSERT_FALSE(bytes.empty()) << name;
        const msts::AceResult ace = msts::readAce(bytes);
        ASSERT_TRUE(ace.ok()) << name;
        const msts::ContainerResult opened = msts::openContainer(bytes);
        const auto payload = opened.container.body();
        const auto u32 = [&](std::size_t at) {
            std::uint32_t v;
            std::memcpy(&v, payload.data() + at, 4);
            return v;
        };
        const std::size_t table = 152 + 16 * std::size_t(u32(20));
        const int flags = ace.image.format == msts::AceFormat::Dxt1   ? squish::kDxt1
                          : ace.image.format == msts::AceFormat::Dxt3 ? squish::kDxt3
                                                                      : squish::kDxt5;
        for (std::size_t i = 0; i < ace.image.levels.size(); ++i) {
            const msts::AceLevel& level = ace.image.levels[i];
            if (level.width < 4 || level.height < 4)
                break;
            const std::size_t at = u32(table + 4 * i) + 4;
            const std::vector<std::byte> blocks(payload.begin() + std::ptrdiff_t(at),
                                                payload.end());
            EXPECT_EQ(level.rgba, squishes(flags, blocks, int(level.width), int(level.height)))
                << name << " level " << i;
            ++levelsChecked;
        }
    }
    EXPECT_GE(levelsChecked, 4);
}

// A first level asked for decodes that level and the smaller ones only, each the same bytes
// as in the whole decode, for block and planar files; a file without mipmaps gives its one
// level whatever is asked; a refusal decodes nothing but still tells the size.
TEST(AceFirstLevel, onlyTheLevelsAskedForAreDecodedAndEqualTheWholeDecode) {
    const fixtures::Picture p = fixtures::testPicture(64, 64);
    for (auto layout : {fixtures::AceLayout::Dxt1, fixtures::AceLayout::Dxt5,
                        fixtures::AceLayout::RgbMaskAlpha}) {
        fixtures::AceWriteOptions o;
        o.layout = layout;
        o.mipmaps = true;
        const auto bytes = fixtures::writeAce(p, o);
        const msts::AceResult whole = msts::readAce(bytes);
        ASSERT_EQ(whole.image.levels.size(), 7u);
        for (std::uint32_t first : {0u, 2u, 4u, 6u, 9u}) {
            msts::AceOptions options;
            std::uint32_t storedLevels = 0;
            options.chooseFirstLevel = [&](const msts::AceInfo& info) {
                storedLevels = info.storedLevels;
                return std::optional<std::uint32_t>(first);
            };
            const msts::AceResult part = msts::readAce(bytes, options);
            ASSERT_TRUE(part.ok());
            EXPECT_EQ(storedLevels, 7u);
            const std::uint32_t expected = std::min(first, 6u);
            EXPECT_EQ(part.image.firstLevel, expected);
            EXPECT_EQ(part.image.width, 64u);
            ASSERT_EQ(part.image.levels.size(), 7u - expected);
            for (std::size_t i = 0; i < part.image.levels.size(); ++i)
                EXPECT_EQ(part.image.levels[i].rgba, whole.image.levels[expected + i].rgba)
                    << "layout " << int(layout) << " first " << first << " level " << i;
        }
    }

    fixtures::AceWriteOptions single;
    single.layout = fixtures::AceLayout::Dxt1;
    msts::AceOptions options;
    options.chooseFirstLevel = [](const msts::AceInfo& info) {
        EXPECT_EQ(info.storedLevels, 1u);
        return std::optional<std::uint32_t>(3);
    };
    const msts::AceResult flat = msts::readAce(fixtures::writeAce(p, single), options);
    ASSERT_EQ(flat.image.levels.size(), 1u);
    EXPECT_EQ(flat.image.levels[0].width, 64u);
    EXPECT_FALSE(flat.image.mipmapped);

    options.chooseFirstLevel = [](const msts::AceInfo&) {
        return std::nullopt;
    };
    const msts::AceResult refused = msts::readAce(fixtures::writeAce(p, single), options);
    EXPECT_TRUE(refused.ok());
    EXPECT_TRUE(refused.image.levels.empty());
    EXPECT_EQ(refused.image.width, 64u);
}

// A mipmapped file cut short before the level asked for gives its last whole level instead
// of nothing.
TEST(AceFirstLevel, aFileEndingBeforeTheLevelAskedForGivesItsLastWholeLevel) {
    const fixtures::Picture p = fixtures::testPicture(64, 64);
    for (auto layout : {fixtures::AceLayout::Dxt1, fixtures::AceLayout::Rgb}) {
        fixtures::AceWriteOptions o;
        o.layout = layout;
        o.mipmaps = true;
        auto bytes = fixtures::writeAce(p, o);
        const msts::AceResult whole = msts::readAce(bytes);
        // Trimmed from the end until level 2 is no longer whole.
        while (msts::readAce(bytes).image.levels.size() > 2)
            bytes.pop_back();
        msts::AceOptions options;
        options.chooseFirstLevel = [](const msts::AceInfo&) {
            return std::optional<std::uint32_t>(4);
        };
        const msts::AceResult cut = msts::readAce(bytes, options);
        ASSERT_TRUE(cut.ok());
        ASSERT_EQ(cut.image.levels.size(), 1u);
        EXPECT_EQ(cut.image.firstLevel, 1u);
        EXPECT_EQ(cut.image.levels[0].rgba, whole.image.levels[1].rgba);
    }
}

} // namespace
