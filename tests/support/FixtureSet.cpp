#include "support/FixtureSet.h"

#include "support/AceWriter.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include <stdexcept>
#include <string>

namespace fixtures {

namespace {

using msts::DiagCode;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("fixture text lacks '" + from + "'");
    return text.replace(at, from.size(), to);
}

Bytes text8(const std::string& text) {
    return wrapShapeText(text, false);
}

Bytes cut(Bytes bytes, std::size_t keep) {
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

} // namespace

std::vector<FixtureFile> goodShapeFiles() {
    const msts::Shape sample = sampleShape();
    ShapeWriteOptions strayBreak;
    strayBreak.strayLeadingLineBreak = true;
    return {
        {"sample_utf16.s", writeShape(sample, ShapeForm::Utf16Text)},
        {"sample_text8.s", writeShape(sample, ShapeForm::Text8)},
        {"sample_text8_leading_crlf.s", writeShape(sample, ShapeForm::Text8, strayBreak)},
        {"sample_binary.s", writeShape(sample, ShapeForm::Binary)},
        {"sample_compressed.s", writeShape(sample, ShapeForm::CompressedBinary)},
        {"sample_compressed_text.s", writeShape(sample, ShapeForm::CompressedText)},
        {"chain_compressed.s", writeShape(chainShape(), ShapeForm::CompressedBinary)},
        {"generated_compressed.s", writeShape(generatedShape(2000), ShapeForm::CompressedBinary)},
    };
}

std::vector<FixtureFile> goodTextureFiles() {
    const Picture picture = testPicture(16, 16);
    const Picture odd = testPicture(13, 7);
    std::vector<FixtureFile> files;
    const auto add = [&](const std::string& name, const Picture& p, AceLayout layout, bool mipmaps,
                         bool compressed) {
        AceWriteOptions o;
        o.layout = layout;
        o.mipmaps = mipmaps;
        o.compressed = compressed;
        files.push_back({name, writeAce(p, o)});
    };
    add("rgb.ace", picture, AceLayout::Rgb, false, false);
    add("rgb_mips_compressed.ace", picture, AceLayout::Rgb, true, true);
    add("rgb_odd_size.ace", odd, AceLayout::Rgb, false, false);
    add("rgb_mask.ace", picture, AceLayout::RgbMask, true, false);
    add("rgb_mask_alpha.ace", picture, AceLayout::RgbMaskAlpha, true, true);
    add("dxt1.ace", picture, AceLayout::Dxt1, true, false);
    add("dxt1_mask_compressed.ace", picture, AceLayout::Dxt1Mask, true, true);
    add("dxt3.ace", picture, AceLayout::Dxt3, true, false);
    add("dxt5.ace", picture, AceLayout::Dxt5, false, true);
    return files;
}

std::vector<FixtureFile> brokenShapeFiles() {
    const msts::Shape sample = sampleShape();
    const std::string text = shapeText(sample);
    std::vector<FixtureFile> files;
    const auto add = [&](std::string name, Bytes bytes, DiagCode code, bool fatal) {
        files.push_back({std::move(name), std::move(bytes), code, fatal});
    };

    Bytes header;
    appendAscii(header, "SIMISA@@@");
    add("truncated_header.s", header, DiagCode::TruncatedHeader, true);

    const Bytes binary = writeShape(sample, ShapeForm::Binary);
    add("truncated_binary.s", cut(binary, binary.size() / 2), DiagCode::BlockOverrun, true);
    const Bytes utf16 = writeShape(sample, ShapeForm::Utf16Text);
    add("truncated_text.s", cut(utf16, utf16.size() * 2 / 3 / 2 * 2), DiagCode::UnexpectedEnd,
        true);

    // The detailed level names a parent matrix that does not exist.
    add("bad_lod_index.s", text8(replaced(text, "hierarchy ( 2 -1 0 )", "hierarchy ( 2 -1 7 )")),
        DiagCode::IndexOutOfRange, false);
    add("bad_vertex_index.s",
        text8(replaced(text, "vertex_idxs ( 36 0 1 2", "vertex_idxs ( 36 0 1 999")),
        DiagCode::IndexOutOfRange, false);
    add("cyclic_hierarchy.s", text8(replaced(text, "hierarchy ( 2 -1 0 )", "hierarchy ( 2 1 0 )")),
        DiagCode::CyclicHierarchy, false);
    add("negative_count.s", text8(replaced(text, "points ( ", "points ( -")),
        DiagCode::NegativeCount, true);
    add("huge_count.s", text8(replaced(text, "vertex_idxs ( 36 ", "vertex_idxs ( 2000000000 ")),
        DiagCode::CountTooLarge, true);
    add("unknown_block.s",
        text8(replaced(text, "\tpoints (", "\tfancy_new_block ( 1 2 ( 3 ) )\r\n\tpoints (")),
        DiagCode::UnknownBlock, false);
    add("bad_number.s", text8(replaced(text, "uv_point ( 0 0 )", "uv_point ( 0 zero )")),
        DiagCode::BadNumber, true);

    // Containers: declared length differs from what inflates, a huge declared length, a
    // small declared length hiding a large stream, a cut stream, a wrong marker.
    Bytes payload;
    appendAscii(payload, "JINX0s1b______\r\n");
    Bytes compressed = writeShape(sample, ShapeForm::CompressedBinary);
    Bytes mismatch = compressed;
    mismatch[8] = static_cast<std::byte>(std::to_integer<unsigned>(mismatch[8]) ^ 0x01);
    add("declared_length_mismatch.s", mismatch, DiagCode::LengthMismatch, true);
    Bytes tooLarge = compressed;
    tooLarge[11] = std::byte{0x40}; // over 1 GiB declared
    add("declared_too_large.s", tooLarge, DiagCode::DeclaredLengthTooLarge, true);
    Bytes bomb;
    appendAscii(bomb, "SIMISA@F");
    appendU32(bomb, 4096);
    appendAscii(bomb, "@@@@");
    Bytes zeros(64u << 20, std::byte{0});
    std::copy(payload.begin(), payload.end(), zeros.begin());
    appendBytes(bomb, deflateBytes(zeros));
    add("zlib_bomb.s", bomb, DiagCode::LengthMismatch, true);
    add("truncated_zlib.s", cut(compressed, compressed.size() - compressed.size() / 3),
        DiagCode::LengthMismatch, true);
    Bytes marker = compressed;
    marker[15] = std::byte{'X'};
    add("wrong_compressed_marker.s", marker, DiagCode::BadCompressedHeader, true);
    AceWriteOptions ace;
    add("texture_as_shape.s", writeAce(testPicture(4, 4), ace), DiagCode::WrongFileType, true);
    return files;
}

std::vector<FixtureFile> brokenTextureFiles() {
    std::vector<FixtureFile> files;
    const auto add = [&](std::string name, Bytes bytes, DiagCode code, bool fatal) {
        files.push_back({std::move(name), std::move(bytes), code, fatal});
    };
    const Picture picture = testPicture(16, 16);
    AceWriteOptions rgb;
    const Bytes good = writeAce(picture, rgb);

    add("truncated_header.ace", cut(good, 16 + 100), DiagCode::TruncatedHeader, true);
    add("truncated_rows.ace", cut(good, good.size() - 40), DiagCode::TruncatedData, true);
    AceWriteOptions wrong;
    wrong.wrongRowOffsets = true;
    add("wrong_row_offsets.ace", writeAce(picture, wrong), DiagCode::BadRowOffsets, false);

    const auto patched = [&](std::size_t payloadOffset, std::uint32_t value) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i)
            b[16 + payloadOffset + static_cast<std::size_t>(i)] =
                static_cast<std::byte>((value >> (8 * i)) & 0xFF);
        return b;
    };
    add("huge_dimensions.ace", patched(8, 100000), DiagCode::ImageTooLarge, true);
    add("zero_width.ace", patched(8, 0), DiagCode::BadDimensions, true);
    add("negative_height.ace", patched(12, 0xFFFFFFF0u), DiagCode::BadDimensions, true);
    add("too_many_channels.ace", patched(20, 4000), DiagCode::BadChannels, true);
    // The raw-data flag on a planar surface format: nothing decodes that.
    add("unsupported_format.ace", patched(4, 0x10), DiagCode::UnsupportedFormat, true);
    add("bad_signature.ace", patched(0, 7), DiagCode::UnknownSubHeader, true);
    // DXT1, 16x16 with mips: the first level's length (after 152 header bytes, three
    // channel descriptors and five level offsets) claims far more than the file holds.
    AceWriteOptions dxt;
    dxt.layout = AceLayout::Dxt1;
    dxt.mipmaps = true;
    Bytes longLevel = writeAce(picture, dxt);
    const std::size_t lengthAt = 16 + 152 + 3 * 16 + 5 * 4;
    longLevel[lengthAt + 3] = std::byte{0x7F};
    add("dxt_level_length_past_end.ace", longLevel, DiagCode::TruncatedData, false);
    add("shape_as_texture.ace", writeShape(sampleShape(), ShapeForm::Binary),
        DiagCode::WrongFileType, true);
    return files;
}

} // namespace fixtures
