#include "msts/Container.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace msts {

namespace {

constexpr std::size_t headerChars = 16;

// Reads `count` characters of a header at `offset`, one byte each or UTF-16LE; characters
// outside 8 bits become '?'. Returns false when the bytes are not there.
bool headerText(std::span<const std::byte> bytes, std::size_t offset, std::size_t count, bool utf16,
                std::string& out) {
    const std::size_t unit = utf16 ? 2 : 1;
    if (offset > bytes.size() || (bytes.size() - offset) / unit < count)
        return false;
    out.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const auto lo = std::to_integer<unsigned>(bytes[offset + i * unit]);
        const auto hi = utf16 ? std::to_integer<unsigned>(bytes[offset + i * unit + 1]) : 0u;
        out.push_back(hi == 0 ? static_cast<char>(lo) : '?');
    }
    return true;
}

std::uint32_t readLe32(std::span<const std::byte> bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | std::to_integer<std::uint32_t>(bytes[offset + static_cast<std::size_t>(i)]);
    return v;
}

// Recognises the payload start: a JINX sub-header (in the container's character width) or
// the texture signature.
bool openPayload(Container& c, std::span<const std::byte> all, std::size_t start, bool utf16,
                 std::uint64_t positionBase, Diagnostics& diagnostics) {
    const auto payload = all.subspan(start);
    std::string sub;
    if (headerText(payload, 0, 4, utf16, sub) && sub == "JINX") {
        if (!headerText(payload, 0, headerChars, utf16, sub)) {
            diagnostics.error(DiagCode::TruncatedHeader, positionBase + start, "JINX sub-header");
            return false;
        }
        c.kind = PayloadKind::Jinx;
        c.fileType = sub[5];
        c.fileVersion = sub[6];
        if (sub[7] == 't')
            c.encoding = utf16 ? Encoding::Utf16Text : Encoding::Text8;
        else if (sub[7] == 'b')
            c.encoding = Encoding::Binary;
        else {
            diagnostics.error(DiagCode::UnknownSubHeader, positionBase + start,
                              "t or b expected after JINX0");
            return false;
        }
        // A binary body after a UTF-16 header has no reason to exist; a compressed text
        // body keeps the width of its sub-header.
        c.bodyStart = start + headerChars * (utf16 ? 2 : 1);
        c.bodySize = all.size() - c.bodyStart;
        return true;
    }
    if (payload.size() >= 4 && readLe32(payload, 0) == 1 && !utf16) {
        c.kind = PayloadKind::Ace;
        c.encoding = Encoding::Binary;
        c.bodyStart = start;
        c.bodySize = payload.size();
        return true;
    }
    if (payload.size() < 4)
        diagnostics.error(DiagCode::TruncatedHeader, positionBase + start, "payload start");
    else
        diagnostics.error(DiagCode::UnknownSubHeader, positionBase + start, "not JINX nor ACE");
    return false;
}

} // namespace

namespace {

// Inflates into out[0, expectedSize); false with a diagnostic unless the stream gives exactly
// that many bytes.
bool inflateInto(std::span<const std::byte> zlibStream, std::byte* out, std::uint32_t expectedSize,
                 Diagnostics& diagnostics, std::uint64_t position) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        diagnostics.error(DiagCode::InflateFailed, position, "zlib init");
        return false;
    }
    // The Adler-32 check at the stream's end is not computed: these files are only read,
    // never written back, and what the checksum would add is small. A damaged stream nearly
    // always breaks deflate's own codes and distances or misses the declared length, both
    // refused below; a damage that slips past both changes some texels or coordinates of
    // one picture. Against that the checksum costs a second pass over every inflated byte,
    // over a third of what inflating itself costs (counted on a whole-library make).
    inflateValidate(&z, 0);
    // zlib's avail_in is 32-bit; a larger input than 4 GiB cannot be a sane file anyway.
    z.next_in = reinterpret_cast<Bytef*>(const_cast<std::byte*>(zlibStream.data()));
    z.avail_in = static_cast<uInt>(std::min<std::size_t>(zlibStream.size(), 0xFFFFFFFFu));
    z.next_out = reinterpret_cast<Bytef*>(out);
    z.avail_out = expectedSize;
    int rc = inflate(&z, Z_FINISH);
    std::uint64_t produced = z.total_out;
    bool longer = false;
    if (rc == Z_BUF_ERROR && z.avail_out == 0) {
        // Output full before the stream ended: find out whether more would come.
        std::array<Bytef, 64> probe{};
        z.next_out = probe.data();
        z.avail_out = static_cast<uInt>(probe.size());
        rc = inflate(&z, Z_FINISH);
        longer = z.total_out > produced;
    }
    inflateEnd(&z);
    if (longer) {
        diagnostics.error(DiagCode::LengthMismatch, position,
                          "inflates to more than the declared " + std::to_string(expectedSize));
        return false;
    }
    if (rc != Z_STREAM_END) {
        if (rc == Z_BUF_ERROR || rc == Z_OK)
            diagnostics.error(DiagCode::LengthMismatch, position,
                              "stream ends after " + std::to_string(produced) + " of " +
                                  std::to_string(expectedSize) + " bytes");
        else
            diagnostics.error(DiagCode::InflateFailed, position, z.msg ? z.msg : "zlib error");
        return false;
    }
    if (produced != expectedSize) {
        diagnostics.error(DiagCode::LengthMismatch, position,
                          "inflates to " + std::to_string(produced) + ", declared " +
                              std::to_string(expectedSize));
        return false;
    }
    return true;
}

template <class Buffer>
bool inflateToBuffer(std::span<const std::byte> zlibStream, std::uint32_t expectedSize, Buffer& out,
                     Diagnostics& diagnostics, std::uint64_t position) {
    out.clear();
    if (expectedSize > maxInflatedSize) {
        diagnostics.error(DiagCode::DeclaredLengthTooLarge, position,
                          std::to_string(expectedSize) + " bytes declared");
        return false;
    }
    out.resize(expectedSize);
    if (inflateInto(zlibStream, out.data(), expectedSize, diagnostics, position))
        return true;
    out.clear();
    return false;
}

} // namespace

bool inflateExactly(std::span<const std::byte> zlibStream, std::uint32_t expectedSize,
                    InflatedBytes& out, Diagnostics& diagnostics, std::uint64_t position) {
    return inflateToBuffer(zlibStream, expectedSize, out, diagnostics, position);
}

bool inflateExactly(std::span<const std::byte> zlibStream, std::uint32_t expectedSize,
                    std::vector<std::byte>& out, Diagnostics& diagnostics, std::uint64_t position) {
    return inflateToBuffer(zlibStream, expectedSize, out, diagnostics, position);
}

ContainerResult openContainer(std::span<const std::byte> bytes) {
    ContainerResult result;
    Container& c = result.container;
    Diagnostics& diag = result.diagnostics;
    c.source = bytes;

    std::size_t pos = 0;
    bool utf16 = false;
    if (bytes.size() >= 2 && bytes[0] == std::byte{0xFF} && bytes[1] == std::byte{0xFE}) {
        utf16 = true;
        pos = 2;
    } else if (bytes.size() >= 2 && bytes[0] == std::byte{'\r'} && bytes[1] == std::byte{'\n'}) {
        diag.warn(DiagCode::StrayLeadingLineBreak, 0);
        pos = 2;
    }

    std::string header;
    if (!headerText(bytes, pos, 8, utf16, header)) {
        diag.error(DiagCode::TruncatedHeader, pos, "SIMIS header");
        return result;
    }
    if (header.rfind("SIMISA@", 0) != 0) {
        diag.error(DiagCode::UnknownHeader, pos, "SIMISA@ expected");
        return result;
    }
    if (header[7] == 'F') {
        // Compressed: a raw 32-bit length then "@@@@" (in the header's width), then zlib.
        const std::size_t lengthAt = pos + 8 * (utf16 ? 2 : 1);
        const std::size_t tailAt = lengthAt + 4;
        std::string tail;
        if (bytes.size() < tailAt || !headerText(bytes, tailAt, 4, utf16, tail)) {
            diag.error(DiagCode::TruncatedHeader, pos, "compressed header");
            return result;
        }
        if (tail != "@@@@") {
            diag.error(DiagCode::BadCompressedHeader, tailAt, "@@@@ expected");
            return result;
        }
        const std::uint32_t declared = readLe32(bytes, lengthAt);
        const std::size_t streamAt = tailAt + 4 * (utf16 ? 2 : 1);
        c.compressed = true;
        if (!inflateExactly(bytes.subspan(streamAt), declared, c.inflated, diag, streamAt))
            return result;
        // The inflated payload is 8-bit unless its sub-header says otherwise (FF FE).
        const std::span<const std::byte> inflated(c.inflated);
        bool innerUtf16 = false;
        std::size_t start = 0;
        if (inflated.size() >= 2 && inflated[0] == std::byte{0xFF} &&
            inflated[1] == std::byte{0xFE}) {
            innerUtf16 = true;
            start = 2;
        } else if (inflated.size() >= 2 && inflated[0] == std::byte{'J'} &&
                   inflated[1] == std::byte{0}) {
            innerUtf16 = true; // UTF-16 without its byte-order mark
        }
        if (!openPayload(c, inflated, start, innerUtf16, 0, diag)) {
            c.bodySize = 0;
            return result;
        }
        return result;
    }
    std::string rest;
    if (!headerText(bytes, pos, headerChars, utf16, rest)) {
        diag.error(DiagCode::TruncatedHeader, pos, "SIMIS header");
        return result;
    }
    if (rest != "SIMISA@@@@@@@@@@") {
        diag.error(DiagCode::UnknownHeader, pos, "SIMISA@@@@@@@@@@ expected");
        return result;
    }
    if (!openPayload(c, bytes, pos + headerChars * (utf16 ? 2 : 1), utf16, 0, diag))
        c.bodySize = 0;
    return result;
}

} // namespace msts
