#pragma once

// Wrapping payloads in the SIMIS container, as the simulator's tools do, for fixtures.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fixtures {

using Bytes = std::vector<std::byte>;

// zlib (RFC 1950) stream of the bytes.
Bytes deflateBytes(const Bytes& data);

// "SIMISA@@@@@@@@@@" + payload, or "SIMISA@F" + length + "@@@@" + zlib(payload).
Bytes simisWrap(const Bytes& payload, bool compressed);

// Text as UTF-16LE code units (from UTF-8), and as 8-bit Windows-1252 characters
// (characters outside it become '?').
Bytes utf16le(std::string_view utf8);
Bytes cp1252(std::string_view utf8);

void appendU16(Bytes& out, std::uint16_t v);
void appendU32(Bytes& out, std::uint32_t v);
void appendBytes(Bytes& out, const Bytes& more);
void appendAscii(Bytes& out, std::string_view text);

} // namespace fixtures
