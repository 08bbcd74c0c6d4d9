#include "support/FixtureSet.h"

#include "msts/Ace.h"
#include "msts/ShapeReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const std::filesystem::path fixtureDir = MSTS_FIXTURE_DIR;

fixtures::Bytes load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fixtures::Bytes bytes(chars.size());
    std::memcpy(bytes.data(), chars.data(), chars.size());
    return bytes;
}

bool isTexture(const std::string& name) {
    return name.ends_with(".ace");
}

const msts::Diagnostics diagnosticsOf(const std::string& name, const fixtures::Bytes& bytes) {
    if (isTexture(name))
        return msts::readAce(bytes).diagnostics;
    return msts::readShape(bytes).diagnostics;
}

std::string describe(const msts::Diagnostics& d) {
    std::string out;
    for (const auto& item : d.items())
        out += std::string(msts::codeName(item.code)) + " @" + std::to_string(item.position) + " " +
               item.what + "; ";
    return out;
}

TEST(BrokenFiles, eachEndsInItsOwnDiagnostic) {
    auto files = fixtures::brokenShapeFiles();
    for (auto& f : fixtures::brokenTextureFiles())
        files.push_back(std::move(f));
    ASSERT_GE(files.size(), 20u);
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const auto bytes = load(fixtureDir / "broken" / f.name);
        const msts::Diagnostics d = diagnosticsOf(f.name, bytes);
        EXPECT_TRUE(d.has(f.expected))
            << "want " << msts::codeName(f.expected) << ", got " << describe(d);
        EXPECT_EQ(d.hasErrors(), f.fatal) << describe(d);
    }
}

TEST(BrokenFiles, aFailedReadLeavesNothingBehind) {
    for (const auto& f : fixtures::brokenShapeFiles()) {
        if (!f.fatal)
            continue;
        const auto result = msts::readShape(load(fixtureDir / "broken" / f.name));
        EXPECT_TRUE(result.shape.points.empty() && result.shape.lodControls.empty()) << f.name;
    }
}

TEST(GoodFiles, everyFixtureOnDiskReadsCleanly) {
    std::size_t count = 0;
    for (const char* folder : {"shapes", "textures"})
        for (const auto& entry : std::filesystem::directory_iterator(fixtureDir / folder)) {
            const std::string name = entry.path().filename().string();
            const msts::Diagnostics d = diagnosticsOf(name, load(entry.path()));
            EXPECT_FALSE(d.hasErrors()) << name << ": " << describe(d);
            ++count;
        }
    EXPECT_GE(count, 15u);
}

// What a reader made of some bytes, checked for the one rule every reading keeps: a result
// without error (a texture with whole levels; a shape with something to draw, or a warning
// saying what was dropped), or an error at a byte offset and nothing left behind.
void expectValueOrPlacedError(const std::string& name, const fixtures::Bytes& bytes,
                              std::uint64_t streamSize) {
    bool usable = false;
    bool empty = false;
    msts::Diagnostics d;
    if (isTexture(name)) {
        msts::AceResult r = msts::readAce(bytes);
        usable = r.image.width > 0 && !r.image.levels.empty();
        for (const msts::AceLevel& level : r.image.levels)
            usable = usable && level.rgba.size() == std::size_t(level.width) * level.height * 4;
        empty = r.image.levels.empty();
        d = std::move(r.diagnostics);
    } else {
        msts::ShapeResult r = msts::readShape(bytes);
        usable = !r.shape.lodControls.empty();
        empty = r.shape.points.empty() && r.shape.lodControls.empty();
        d = std::move(r.diagnostics);
    }
    if (!d.hasErrors()) {
        EXPECT_TRUE(usable || (!isTexture(name) && !d.empty()))
            << "read without error or warning, but nothing to draw";
        return;
    }
    EXPECT_TRUE(empty) << "a failed read left a value: " << describe(d);
    for (const auto& item : d.items()) {
        if (item.severity == msts::Severity::Error) {
            EXPECT_LE(item.position, streamSize) << describe(d);
        }
    }
}

// Every prefix and a spread of single-byte changes of real fixtures: reading may fail, but
// then says where, and never hands back half a value (the sanitizer build turns any stray
// access into a failure too). A file cut to less than half its length is never whole.
TEST(Robustness, cutAndFlippedFilesNeverCrash) {
    for (const char* name :
         {"shapes/sample_binary.s", "shapes/sample_compressed.s", "shapes/sample_utf16.s",
          "textures/rgb_mask.ace", "textures/dxt1_mask_compressed.ace"}) {
        SCOPED_TRACE(name);
        const auto bytes = load(fixtureDir / name);
        // Offsets in a compressed file are those of its inflated stream, whose size only the
        // file's header tells: they are not bounded here.
        const bool compressed = std::string(name).find("compressed") != std::string::npos;
        const std::uint64_t streamSize =
            compressed ? std::uint64_t(-1) / 2 : std::uint64_t(bytes.size());
        const std::size_t step = std::max<std::size_t>(1, bytes.size() / 400);
        for (std::size_t keep = 0; keep < bytes.size(); keep += step) {
            SCOPED_TRACE("cut to " + std::to_string(keep));
            fixtures::Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
            expectValueOrPlacedError(name, cut, streamSize);
            if (keep < bytes.size() / 2) {
                EXPECT_TRUE(diagnosticsOf(name, cut).hasErrors());
            }
        }
        for (std::size_t at = 0; at < bytes.size(); at += step) {
            for (unsigned value : {0x00u, 0xFFu, 0x80u}) {
                SCOPED_TRACE("byte " + std::to_string(at) + " set to " + std::to_string(value));
                fixtures::Bytes changed = bytes;
                changed[at] = static_cast<std::byte>(value);
                expectValueOrPlacedError(name, changed, streamSize);
            }
        }
    }
}

} // namespace
