#include "support/SimisWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace fixtures {

namespace {

// Decodes UTF-8 into code points; malformed bytes come out as U+FFFD.
std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= utf8.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) |
                 (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

Bytes deflateBytes(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::runtime_error("deflate failed");
    out.resize(size);
    return out;
}

Bytes simisWrap(const Bytes& payload, bool compressed) {
    Bytes out;
    if (!compressed) {
        appendAscii(out, "SIMISA@@@@@@@@@@");
        appendBytes(out, payload);
        return out;
    }
    appendAscii(out, "SIMISA@F");
    appendU32(out, static_cast<std::uint32_t>(payload.size()));
    appendAscii(out, "@@@@");
    appendBytes(out, deflateBytes(payload));
    return out;
}

Bytes utf16le(std::string_view utf8) {
    Bytes out;
    out.reserve(utf8.size() * 2);
    for (char32_t cp : codePoints(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            appendU16(out, static_cast<std::uint16_t>(0xD800 + (cp >> 10)));
            appendU16(out, static_cast<std::uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            appendU16(out, static_cast<std::uint16_t>(cp));
        }
    }
    return out;
}

Bytes cp1252(std::string_view utf8) {
    Bytes out;
    out.reserve(utf8.size());
    for (char32_t cp : codePoints(utf8)) {
        if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) {
            out.push_back(static_cast<std::byte>(cp));
            continue;
        }
        std::byte b{'?'};
        for (int i = 0; i < 32; ++i)
            if (cp1252High[i] == cp)
                b = static_cast<std::byte>(0x80 + i);
        out.push_back(b);
    }
    return out;
}

void appendU16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::byte>(v & 0xFF));
    out.push_back(static_cast<std::byte>(v >> 8));
}

void appendU32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::byte>((v >> (8 * i)) & 0xFF));
}

void appendBytes(Bytes& out, const Bytes& more) {
    out.insert(out.end(), more.begin(), more.end());
}

void appendAscii(Bytes& out, std::string_view text) {
    for (char c : text)
        out.push_back(static_cast<std::byte>(c));
}

} // namespace fixtures
