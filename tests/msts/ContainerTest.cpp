#include "support/AceWriter.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include "msts/Container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using fixtures::Bytes;
using msts::Encoding;
using msts::PayloadKind;

struct Case {
    std::string name;
    Bytes bytes;
    PayloadKind kind;
    Encoding encoding;
    bool compressed;
    std::string bodyStart; // the first characters of the body, as 8-bit text
    bool warned;
};

std::string bodyText(const msts::Container& c, std::size_t count) {
    std::string out;
    const auto body = c.body();
    const std::size_t step = c.encoding == Encoding::Utf16Text ? 2 : 1;
    for (std::size_t i = 0; i < body.size() && out.size() < count; i += step)
        out.push_back(static_cast<char>(body[i]));
    return out;
}

std::vector<Case> cases() {
    const msts::Shape shape = fixtures::chainShape();
    fixtures::ShapeWriteOptions strayBreak;
    strayBreak.strayLeadingLineBreak = true;
    fixtures::AceWriteOptions ace;
    fixtures::AceWriteOptions aceCompressed;
    aceCompressed.compressed = true;
    const auto picture = fixtures::testPicture(4, 4);
    // The first binary block of a shape: token 71, set 0.
    const std::string shapeToken{'\x47', '\0'};
    return {
        {"utf16_text", fixtures::writeShape(shape, fixtures::ShapeForm::Utf16Text),
         PayloadKind::Jinx, Encoding::Utf16Text, false, "\r\nshape", false},
        {"text8", fixtures::writeShape(shape, fixtures::ShapeForm::Text8), PayloadKind::Jinx,
         Encoding::Text8, false, "\r\nshape", false},
        {"text8_leading_crlf", fixtures::writeShape(shape, fixtures::ShapeForm::Text8, strayBreak),
         PayloadKind::Jinx, Encoding::Text8, false, "\r\nshape", true},
        {"binary", fixtures::writeShape(shape, fixtures::ShapeForm::Binary), PayloadKind::Jinx,
         Encoding::Binary, false, shapeToken, false},
        {"compressed_binary", fixtures::writeShape(shape, fixtures::ShapeForm::CompressedBinary),
         PayloadKind::Jinx, Encoding::Binary, true, shapeToken, false},
        {"compressed_text", fixtures::writeShape(shape, fixtures::ShapeForm::CompressedText),
         PayloadKind::Jinx, Encoding::Text8, true, "\r\nshape", false},
        {"ace", fixtures::writeAce(picture, ace), PayloadKind::Ace, Encoding::Binary, false,
         std::string{'\1', '\0'}, false},
        {"ace_compressed", fixtures::writeAce(picture, aceCompressed), PayloadKind::Ace,
         Encoding::Binary, true, std::string{'\1', '\0'}, false},
    };
}

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class Detection : public ::testing::TestWithParam<Case> {};

TEST_P(Detection, tellsTheVariantApart) {
    const Case& c = GetParam();
    const auto result = msts::openContainer(c.bytes);
    ASSERT_TRUE(result.ok()) << msts::codeName(result.diagnostics.items()[0].code);
    const auto& container = result.container;
    EXPECT_EQ(container.kind, c.kind);
    EXPECT_EQ(container.compressed, c.compressed);
    if (c.kind == PayloadKind::Jinx) {
        EXPECT_EQ(container.encoding, c.encoding);
        EXPECT_EQ(container.fileType, 's');
        EXPECT_EQ(container.fileVersion, '1');
    }
    EXPECT_EQ(bodyText(container, c.bodyStart.size()), c.bodyStart);
    EXPECT_EQ(result.diagnostics.has(msts::DiagCode::StrayLeadingLineBreak), c.warned);
}

INSTANTIATE_TEST_SUITE_P(Variants, Detection, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return info.param.name; });

TEST(Container, aCompressedHeaderInUtf16IsRead) {
    Bytes payload;
    fixtures::appendAscii(payload, "JINX0s1b______\r\n");
    fixtures::appendBytes(payload, Bytes(20, std::byte{0}));
    Bytes file{std::byte{0xFF}, std::byte{0xFE}};
    fixtures::appendBytes(file, fixtures::utf16le("SIMISA@F"));
    fixtures::appendU32(file, static_cast<std::uint32_t>(payload.size()));
    fixtures::appendBytes(file, fixtures::utf16le("@@@@"));
    fixtures::appendBytes(file, fixtures::deflateBytes(payload));
    const auto result = msts::openContainer(file);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.container.compressed);
    EXPECT_EQ(result.container.encoding, Encoding::Binary);
    EXPECT_EQ(result.container.body().size(), 20u);
}

TEST(Container, inflatingChecksTheLengthBothWays) {
    const Bytes data(1000, std::byte{7});
    const Bytes stream = fixtures::deflateBytes(data);
    // Into either buffer, one that held more before included: nothing of it may remain.
    const auto check = [&](auto out) {
        out.assign(3000, std::byte{9});
        msts::Diagnostics d;
        EXPECT_TRUE(msts::inflateExactly(stream, 1000, out, d, 0));
        EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin(), data.end()));

        msts::Diagnostics shorter;
        EXPECT_FALSE(msts::inflateExactly(stream, 999, out, shorter, 0));
        EXPECT_TRUE(shorter.has(msts::DiagCode::LengthMismatch));
        EXPECT_TRUE(out.empty());

        msts::Diagnostics longer;
        EXPECT_FALSE(msts::inflateExactly(stream, 1001, out, longer, 0));
        EXPECT_TRUE(longer.has(msts::DiagCode::LengthMismatch));
        EXPECT_TRUE(out.empty());

        msts::Diagnostics huge;
        EXPECT_FALSE(msts::inflateExactly(stream, msts::maxInflatedSize + 1, out, huge, 0));
        EXPECT_TRUE(huge.has(msts::DiagCode::DeclaredLengthTooLarge));
    };
    check(std::vector<std::byte>{});
    check(msts::InflatedBytes{});
}

TEST(Container, unknownHeadersAndSubHeadersAreRefused) {
    for (const std::string text :
         {"SIMISB@@@@@@@@@@JINX0s1t______\r\n", "HELLO", "SIMISA@@@@@@@@@@JINX0s1q______\r\n",
          "SIMISA@@@@@@@@@@XXXX0s1t______\r\n", "SIMISA@@@@@@@@@@JIN"}) {
        Bytes bytes;
        fixtures::appendAscii(bytes, text);
        const auto result = msts::openContainer(bytes);
        EXPECT_FALSE(result.ok()) << text;
        EXPECT_TRUE(result.container.body().empty()) << text;
    }
}

} // namespace
