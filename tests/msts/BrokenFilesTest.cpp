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

// Every prefix and a spread of single-byte changes of real fixtures: reading may fail, but
// must end normally (the sanitizer build turns any stray access into a failure).
TEST(Robustness, cutAndFlippedFilesNeverCrash) {
    for (const char* name :
         {"shapes/sample_binary.s", "shapes/sample_compressed.s", "shapes/sample_utf16.s",
          "textures/rgb_mask.ace", "textures/dxt1_mask_compressed.ace"}) {
        const auto bytes = load(fixtureDir / name);
        const bool texture = std::string(name).ends_with(".ace");
        const std::size_t step = std::max<std::size_t>(1, bytes.size() / 400);
        for (std::size_t keep = 0; keep < bytes.size(); keep += step) {
            fixtures::Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
            (void)diagnosticsOf(texture ? "x.ace" : "x.s", cut);
        }
        for (std::size_t at = 0; at < bytes.size(); at += step) {
            for (unsigned value : {0x00u, 0xFFu, 0x80u}) {
                fixtures::Bytes changed = bytes;
                changed[at] = static_cast<std::byte>(value);
                (void)diagnosticsOf(texture ? "x.ace" : "x.s", changed);
            }
        }
    }
    SUCCEED();
}

} // namespace
