#include "support/SimisWriter.h"

#include "msts/BlockReader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

using fixtures::Bytes;
using msts::Token;

// A reader over a text or binary body; keeps the bytes and container alive with it.
struct Reader {
    explicit Reader(Bytes file) : bytes(std::move(file)), opened(msts::openContainer(bytes)) {
        EXPECT_TRUE(opened.ok());
        reader = msts::BlockReader::create(opened.container, diagnostics);
    }
    Bytes bytes;
    msts::ContainerResult opened;
    msts::Diagnostics diagnostics;
    std::unique_ptr<msts::BlockReader> reader;
};

Reader text(const std::string& body, bool utf16 = false) {
    const std::string all = "SIMISA@@@@@@@@@@JINX0s1t______\r\n" + body;
    if (!utf16)
        return Reader(fixtures::cp1252(all));
    Bytes b{std::byte{0xFF}, std::byte{0xFE}};
    fixtures::appendBytes(b, fixtures::utf16le(all));
    return Reader(b);
}

Reader binary(const Bytes& blocks) {
    Bytes all;
    fixtures::appendAscii(all, "SIMISA@@@@@@@@@@JINX0s1b______\r\n");
    fixtures::appendBytes(all, blocks);
    return Reader(all);
}

TEST(Tokens, numbersMatchTheBinaryFiles) {
    // Values seen in the block headers of shipped binary shapes.
    EXPECT_EQ(static_cast<int>(Token::Shape), 71);
    EXPECT_EQ(static_cast<int>(Token::ShapeHeader), 70);
    EXPECT_EQ(static_cast<int>(Token::Volumes), 68);
    EXPECT_EQ(static_cast<int>(Token::VolSphere), 69);
    EXPECT_EQ(static_cast<int>(Token::Vector), 3);
    EXPECT_EQ(static_cast<int>(Token::IndexedTrilist), 60);
    EXPECT_EQ(static_cast<int>(Token::VertexIdxs), 63);
    EXPECT_EQ(static_cast<int>(Token::NormalIdxs), 6);
    EXPECT_EQ(static_cast<int>(Token::Flags), 64);
    EXPECT_EQ(static_cast<int>(Token::NamedFilterMode), 125);
    EXPECT_EQ(static_cast<int>(Token::NamedShader), 129);
    EXPECT_EQ(static_cast<int>(Token::SubobjectShaders), 104);
}

TEST(Tokens, namesMapBothWaysIgnoringCase) {
    EXPECT_EQ(msts::tokenFromName("Vertex_Idxs"), Token::VertexIdxs);
    EXPECT_EQ(msts::tokenFromName("LOD_CONTROLS"), Token::LodControls);
    EXPECT_EQ(msts::tokenFromName("vertex_idx"), std::nullopt);
    EXPECT_EQ(msts::tokenName(Token::PrimStateIdx), "prim_state_idx");
}

TEST(Tokens, everyNamedTokenIsFoundByItsNameInAnyCase) {
    int named = 0;
    for (int i = 0; i < 256; ++i) {
        const auto token = static_cast<Token>(i);
        const std::string name(msts::tokenName(token));
        EXPECT_EQ(msts::isKnownToken(token), !name.empty()) << i;
        if (name.empty())
            continue;
        ++named;
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(msts::tokenFromName(name), token) << name;
        EXPECT_EQ(msts::tokenFromName(upper), token) << upper;
        EXPECT_EQ(msts::tokenFromName(name + "#"), std::nullopt) << name;
    }
    EXPECT_EQ(named, 136);
    EXPECT_FALSE(msts::isKnownToken(static_cast<Token>(300)));
    EXPECT_EQ(msts::tokenFromName(""), std::nullopt);
    EXPECT_EQ(msts::tokenFromName(std::string(40, 'a')), std::nullopt);
}

TEST(TextBlocks, valuesStringsAndLabels) {
    for (bool utf16 : {false, true}) {
        auto r = text(
            "Matrix WHEELS1 ( -1 4294967295 ff969696 -3.8e-005 \"a \\\"b\\\"\\n\" + \"c\" plain )",
            utf16);
        const auto h = r.reader->openBlock();
        ASSERT_TRUE(h);
        EXPECT_EQ(h->token, Token::Matrix);
        EXPECT_EQ(h->label, "WHEELS1");
        EXPECT_EQ(r.reader->readInt(), -1);
        EXPECT_EQ(r.reader->readInt(), -1); // an unsigned spelling of -1
        EXPECT_EQ(r.reader->readDword(), 0xff969696u);
        EXPECT_FLOAT_EQ(r.reader->readFloat(), -3.8e-5f);
        EXPECT_EQ(r.reader->readString(), "a \"b\"\nc");
        EXPECT_EQ(r.reader->readString(), "plain");
        EXPECT_TRUE(r.reader->atBlockEnd());
        r.reader->endBlock();
        EXPECT_FALSE(r.reader->openBlock());
    }
}

TEST(TextBlocks, commentsSkipsAndHashItemsAreIgnored) {
    auto r = text("comment ( x ( y ) ) #note ( ignored ) shape ( SKIP ( 1 2 ) 5 _info ( 3 ) "
                  "( stray comment ) point ( 1 2 3 ) ) )");
    const auto h = r.reader->openBlock();
    ASSERT_TRUE(h);
    EXPECT_EQ(h->token, Token::Shape);
    EXPECT_EQ(r.reader->readInt(), 5);
    const auto p = r.reader->openBlock();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->token, Token::Point);
    EXPECT_FLOAT_EQ(r.reader->readFloat(), 1);
    r.reader->endBlock(); // skips the rest of the point
    EXPECT_FALSE(r.reader->openBlock());
    r.reader->endBlock();
    EXPECT_FALSE(r.reader->openBlock()); // the stray ')' is tolerated
    EXPECT_TRUE(r.diagnostics.has(msts::DiagCode::TrailingData));
}

TEST(TextBlocks, charactersBeyondAsciiComeOutAsUtf8InBothWidths) {
    for (bool utf16 : {false, true}) {
        // A long number, an unknown block spelt with accents, a label and strings beyond ASCII.
        const std::string longNumber = "0." + std::string(70, '0') + "125e71";
        auto r = text("Wagon Caf\u00e9 ( " + longNumber +
                          " \"\u20ac \\\u00e9\" Mod\u00e8le ( 1 ) R\u00e9f ( 2 ) )",
                      utf16);
        const auto h = r.reader->openBlock();
        ASSERT_TRUE(h);
        EXPECT_EQ(h->token, Token::Unknown);
        EXPECT_EQ(h->name, "Wagon");
        EXPECT_EQ(h->label, "Caf\u00e9");
        EXPECT_FLOAT_EQ(r.reader->readFloat(), 1.25f);
        EXPECT_EQ(r.reader->readString(), "\u20ac \u00e9");
        const auto model = r.reader->openBlock();
        ASSERT_TRUE(model);
        EXPECT_EQ(model->name, "Mod\u00e8le");
        r.reader->endBlock();
        // A word beyond ASCII where a number is due is a bad number, and leaves the block.
        EXPECT_FALSE(r.reader->nextIsBlock(Token::Point));
        EXPECT_THROW(r.reader->readInt(), msts::ReadError);
    }
    // UTF-16 beyond the basic plane: a pair is one character, an unpaired half U+FFFD.
    Bytes file{std::byte{0xFF}, std::byte{0xFE}};
    fixtures::appendBytes(file, fixtures::utf16le("SIMISA@@@@@@@@@@JINX0s1t______\r\nimage ( \"a"));
    for (std::uint16_t u : {0xD834, 0xDD1E, 0xD834, 0x0062, 0xDD1E, 0x0022, 0x0029})
        fixtures::appendU16(file, u);
    Reader r(file);
    ASSERT_TRUE(r.reader->openBlock());
    EXPECT_EQ(r.reader->readString(), "a\U0001D11E\uFFFDb\uFFFD");
}

TEST(TextBlocks, valuesBeforeABlockAreReadAfterLookingForIt) {
    for (bool utf16 : {false, true}) {
        auto r = text("shape ( 1 \"two\" 3 point label ( 4 ) )", utf16);
        ASSERT_TRUE(r.reader->openBlock());
        EXPECT_FALSE(r.reader->openBlock()); // values first
        EXPECT_FALSE(r.reader->nextIsBlock(Token::Point));
        EXPECT_EQ(r.reader->readInt(), 1);
        EXPECT_FALSE(r.reader->openBlock());
        EXPECT_EQ(r.reader->readString(), "two");
        EXPECT_FALSE(r.reader->openBlock());
        EXPECT_FALSE(r.reader->atBlockEnd());
        EXPECT_EQ(r.reader->readInt(), 3);
        EXPECT_TRUE(r.reader->nextIsBlock(Token::Point));
        const auto p = r.reader->openBlock();
        ASSERT_TRUE(p);
        EXPECT_EQ(p->token, Token::Point);
        EXPECT_EQ(p->label, "label");
        EXPECT_EQ(r.reader->readInt(), 4);
        EXPECT_TRUE(r.reader->atBlockEnd());
    }
}

TEST(TextBlocks, malformedInputThrowsWithItsPosition) {
    {
        auto r = text("points ( 3 point ( 1 2");
        r.reader->openBlock();
        EXPECT_EQ(r.reader->readInt(), 3);
        r.reader->openBlock();
        r.reader->readFloat();
        r.reader->readFloat();
        EXPECT_THROW(r.reader->readFloat(), msts::ReadError);
    }
    {
        auto r = text("point ( 1 two 3 )");
        r.reader->openBlock();
        r.reader->readFloat();
        try {
            r.reader->readFloat();
            FAIL() << "no error";
        } catch (const msts::ReadError& e) {
            EXPECT_EQ(e.code, msts::DiagCode::BadNumber);
            EXPECT_EQ(e.position, 32u + 10u); // after the 32-byte headers, at "two"
        }
    }
    {
        auto r = text("points ( -4 )");
        r.reader->openBlock();
        try {
            r.reader->readCount(4);
            FAIL() << "no error";
        } catch (const msts::ReadError& e) {
            EXPECT_EQ(e.code, msts::DiagCode::NegativeCount);
        }
    }
    {
        std::string deep;
        for (int i = 0; i < 80; ++i)
            deep += "shape ( ";
        auto r = text(deep);
        EXPECT_THROW(
            {
                for (int i = 0; i < 80; ++i)
                    r.reader->openBlock();
            },
            msts::ReadError);
    }
}

// A binary block: token, set 0, length, label.
Bytes block(Token token, const Bytes& content, const std::string& label = {}) {
    Bytes b;
    fixtures::appendU16(b, static_cast<std::uint16_t>(token));
    fixtures::appendU16(b, 0);
    const Bytes units = fixtures::utf16le(label);
    fixtures::appendU32(b, static_cast<std::uint32_t>(1 + units.size() + content.size()));
    b.push_back(static_cast<std::byte>(units.size() / 2));
    fixtures::appendBytes(b, units);
    fixtures::appendBytes(b, content);
    return b;
}

TEST(BinaryBlocks, labelsStringsAndSkippingByLength) {
    Bytes image;
    const Bytes name = fixtures::utf16le("Wagen_ä.ace");
    fixtures::appendU16(image, static_cast<std::uint16_t>(name.size() / 2));
    fixtures::appendBytes(image, name);
    Bytes content;
    fixtures::appendU32(content, 2);
    Bytes unknownBlock;
    fixtures::appendU16(unknownBlock, 999);
    fixtures::appendU16(unknownBlock, 0);
    fixtures::appendU32(unknownBlock, 5);
    unknownBlock.push_back(std::byte{0}); // no label
    fixtures::appendBytes(unknownBlock, Bytes(4, std::byte{0x55}));
    fixtures::appendBytes(content, unknownBlock);
    fixtures::appendBytes(content, block(Token::Image, image, "LABEL"));
    auto r = binary(block(Token::Images, content));
    ASSERT_TRUE(r.reader->openBlock());
    EXPECT_EQ(r.reader->readCount(9), 2u);
    const auto unknown = r.reader->openBlock();
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->token, Token::Unknown);
    r.reader->endBlock();
    const auto h = r.reader->openBlock();
    ASSERT_TRUE(h);
    EXPECT_EQ(h->token, Token::Image);
    EXPECT_EQ(h->label, "LABEL");
    EXPECT_EQ(r.reader->readString(), "Wagen_ä.ace");
    r.reader->endBlock();
    EXPECT_FALSE(r.reader->openBlock());

    // Beyond Latin-1 and the basic plane: a pair is one character, an unpaired half U+FFFD.
    Bytes wide;
    fixtures::appendU16(wide, 6);
    for (std::uint16_t u : {0x0061, 0x20AC, 0xD834, 0xDD1E, 0xDD1E, 0xD834})
        fixtures::appendU16(wide, u);
    auto w = binary(block(Token::Image, wide));
    ASSERT_TRUE(w.reader->openBlock());
    EXPECT_EQ(w.reader->readString(), "a\u20ac\U0001D11E\uFFFD\uFFFD");
}

TEST(BinaryBlocks, lengthsAndCountsMayNotOverrunTheirParent) {
    {
        Bytes inner = block(Token::Point, Bytes(12, std::byte{0}));
        inner[4] = std::byte{200}; // claims more than the parent holds
        auto r = binary(block(Token::Points, inner));
        r.reader->openBlock();
        EXPECT_THROW(r.reader->openBlock(), msts::ReadError);
    }
    {
        Bytes content;
        fixtures::appendU32(content, 1000); // 1000 indices in 8 bytes
        fixtures::appendU32(content, 1);
        auto r = binary(block(Token::VertexIdxs, content));
        r.reader->openBlock();
        EXPECT_THROW(r.reader->readCount(4), msts::ReadError);
    }
    {
        Bytes content;
        fixtures::appendU32(content, 1);
        auto r = binary(block(Token::Point, content));
        r.reader->openBlock();
        r.reader->readFloat();
        EXPECT_THROW(r.reader->readFloat(), msts::ReadError);
    }
}

} // namespace

namespace {

Bytes floats(std::initializer_list<float> values) {
    Bytes b;
    for (float v : values)
        fixtures::appendU32(b, std::bit_cast<std::uint32_t>(v));
    return b;
}

std::vector<float> asFloats(const Bytes& bytes) {
    std::vector<float> out(bytes.size() / 4);
    std::memcpy(out.data(), bytes.data(), out.size() * 4);
    return out;
}

TEST(BinaryBlocks, plainFloatBlocksComeInBulkUpToTheFirstOfAnotherForm) {
    Bytes content;
    fixtures::appendBytes(content, block(Token::Point, floats({1, 2, 3})));
    fixtures::appendBytes(content, block(Token::Point, floats({4, 5, 6})));
    fixtures::appendBytes(content, block(Token::Point, floats({7, 8, 9}), "L"));
    fixtures::appendBytes(content, block(Token::Point, floats({10, 11, 12})));
    Bytes longer = floats({13, 14, 15});
    longer.push_back(std::byte{0});
    fixtures::appendBytes(content, block(Token::Point, longer));
    fixtures::appendBytes(content, block(Token::Vector, floats({16, 17, 18})));
    fixtures::appendBytes(content, block(Token::Point, floats({19, 20, 21})));
    auto r = binary(block(Token::Points, content));
    ASSERT_TRUE(r.reader->openBlock());

    Bytes out(4 * 3 * 4);
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Point, 3, out), 2u);
    EXPECT_EQ(asFloats(out), (std::vector<float>{1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0}));
    // A label stops the run; the block is then opened as usual.
    const auto labelled = r.reader->openBlock();
    ASSERT_TRUE(labelled);
    EXPECT_EQ(labelled->label, "L");
    r.reader->endBlock();
    // Room for one block only; then a block longer than its floats stops the run.
    Bytes one(12);
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Point, 3, one), 1u);
    EXPECT_EQ(asFloats(one), (std::vector<float>{10, 11, 12}));
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Point, 3, out), 0u);
    ASSERT_TRUE(r.reader->openBlock());
    EXPECT_FLOAT_EQ(r.reader->readFloat(), 13);
    r.reader->endBlock();
    // Another token or another width stops it too.
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Point, 3, out), 0u);
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Vector, 2, out), 0u);
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Vector, 3, out), 1u);
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Point, 3, out), 1u);
    EXPECT_TRUE(r.reader->atBlockEnd());
    r.reader->endBlock();
    EXPECT_FALSE(r.reader->openBlock());
}

TEST(BinaryBlocks, aBulkRunNeverReadsPastItsParent) {
    // The second point's bytes run past the end of the points block.
    Bytes content = block(Token::Point, floats({1, 2, 3}));
    const Bytes second = block(Token::Point, floats({4, 5, 6}));
    fixtures::appendBytes(content, second);
    Bytes points = block(Token::Points, content);
    points[4] = std::byte(std::to_integer<int>(points[4]) - 4); // the parent ends 4 bytes early
    fixtures::appendBytes(points, block(Token::Point, floats({7, 8, 9})));
    auto r = binary(points);
    ASSERT_TRUE(r.reader->openBlock());
    Bytes out(3 * 12);
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Point, 3, out), 1u);
    EXPECT_THROW(r.reader->openBlock(), msts::ReadError);
}

TEST(TextBlocks, haveNoBulkFloatBlocks) {
    auto r = text("points ( 1 point ( 1 2 3 ) )");
    ASSERT_TRUE(r.reader->openBlock());
    EXPECT_EQ(r.reader->readInt(), 1);
    Bytes out(12);
    EXPECT_EQ(r.reader->readFloatBlocks(Token::Point, 3, out), 0u);
    EXPECT_TRUE(r.reader->nextIsBlock(Token::Point));
}

} // namespace

namespace {

TEST(TextBlocks, openBlockIfOpensOnlyItsTokenAndOtherwiseLeavesTheReaderAsItWas) {
    for (bool utf16 : {false, true}) {
        auto r = text("shape ( 1 comment ( x ) Point lbl ( 2 ) vector ( 3 ) point 4 )", utf16);
        EXPECT_FALSE(r.reader->openBlockIf(Token::Point)); // nothing opened yet: shape first
        ASSERT_TRUE(r.reader->openBlockIf(Token::Shape));
        EXPECT_FALSE(r.reader->openBlockIf(Token::Point)); // a value comes first
        EXPECT_EQ(r.reader->readInt(), 1);
        EXPECT_FALSE(r.reader->openBlockIf(Token::Point)); // a comment: openBlock's to skip
        EXPECT_FALSE(r.reader->openBlockIf(Token::Comment));
        const auto point = r.reader->openBlock();
        ASSERT_TRUE(point);
        EXPECT_EQ(point->label, "lbl");
        r.reader->endBlock();
        EXPECT_FALSE(r.reader->openBlockIf(Token::Point)); // another token
        ASSERT_TRUE(r.reader->openBlockIf(Token::Vector));
        EXPECT_EQ(r.reader->readInt(), 3);
        r.reader->endBlock();
        EXPECT_FALSE(r.reader->openBlockIf(Token::Point)); // a name without its '('
        EXPECT_FALSE(r.reader->openBlock());
        EXPECT_EQ(r.reader->readString(), "point");
        EXPECT_EQ(r.reader->readInt(), 4);
    }
}

TEST(BinaryBlocks, openBlockIfPassesOverTheLabelAndLeavesRefusalsToOpenBlock) {
    Bytes content = block(Token::Point, floats({1, 2, 3}), "LBL");
    fixtures::appendBytes(content, block(Token::Vector, floats({4, 5, 6})));
    Bytes overrun = block(Token::Point, floats({7}));
    overrun[4] = std::byte{100};
    fixtures::appendBytes(content, overrun);
    auto r = binary(block(Token::Points, content));
    ASSERT_TRUE(r.reader->openBlockIf(Token::Points));
    EXPECT_FALSE(r.reader->openBlockIf(Token::Vector));
    ASSERT_TRUE(r.reader->openBlockIf(Token::Point));
    EXPECT_FLOAT_EQ(r.reader->readFloat(), 1);
    r.reader->endBlock();
    ASSERT_TRUE(r.reader->openBlockIf(Token::Vector));
    EXPECT_FLOAT_EQ(r.reader->readFloat(), 4);
    r.reader->endBlock();
    EXPECT_FALSE(r.reader->openBlockIf(Token::Point)); // its length overruns the parent
    EXPECT_THROW(r.reader->openBlock(), msts::ReadError);
}

TEST(BlockReaders, openBlockIfLeavesTheDepthLimitToOpenBlock) {
    std::string deep;
    Bytes nested = block(Token::Shape, {});
    for (int i = 0; i < msts::BlockReader::maxDepth + 1; ++i) {
        deep += "shape ( ";
        if (i > 0)
            nested = block(Token::Shape, nested);
    }
    for (int form = 0; form < 2; ++form) {
        auto r = form == 0 ? text(deep) : binary(nested);
        for (int i = 0; i < msts::BlockReader::maxDepth; ++i)
            ASSERT_TRUE(r.reader->openBlockIf(Token::Shape)) << form << " " << i;
        EXPECT_FALSE(r.reader->openBlockIf(Token::Shape)) << form;
        EXPECT_THROW(r.reader->openBlock(), msts::ReadError) << form;
    }
}

} // namespace
