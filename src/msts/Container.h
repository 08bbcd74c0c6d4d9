#pragma once

// The SIMIS container that wraps every simulator data file.
//
// A file starts with a 16-character header, in UTF-16 after an FF FE byte-order mark or in
// 8-bit characters (some files carry a stray line break before it). "SIMISA@@@@@@@@@@"
// means the rest is stored as is; "SIMISA@F" + a 32-bit little-endian length + "@@@@"
// means the rest is a zlib stream that inflates to exactly that many bytes. The (inflated)
// payload then starts with a 16-character "JINX0s1t______\r\n" sub-header for structured
// files (char 5 the file type, 6 its version, 7 't' text or 'b' binary) or with the 32-bit
// integer 1 for a texture.

#include "msts/Diagnostics.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace msts {

// Neither the declared nor the inflated length of a compressed file may exceed this.
inline constexpr std::uint32_t maxInflatedSize = 256u * 1024u * 1024u;

// Growing a vector with this allocator leaves the new elements unset. An inflated payload is
// written whole by the inflater, so zeroing it first would be one more pass over every byte.
template <class T> struct UninitialisedAllocator : std::allocator<T> {
    using value_type = T;
    template <class U> struct rebind { using other = UninitialisedAllocator<U>; };
    UninitialisedAllocator() noexcept = default;
    template <class U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using InflatedBytes = std::vector<std::byte, UninitialisedAllocator<std::byte>>;

enum class PayloadKind : std::uint8_t { Jinx, Ace };
enum class Encoding : std::uint8_t { Utf16Text, Text8, Binary };

struct Container {
    PayloadKind kind = PayloadKind::Jinx;
    Encoding encoding = Encoding::Binary; // for Jinx payloads; Ace payloads are Binary
    bool compressed = false;
    char fileType = 0;      // JINX char 5: 's' shape, 't' shape descriptor, 'D' train file ...
    char fileVersion = 0;   // JINX char 6
    InflatedBytes inflated; // the inflated data of a compressed file
    std::span<const std::byte> source; // the input bytes (must outlive the container)
    std::size_t bodyStart = 0;         // in `inflated` when compressed, else in `source`
    std::size_t bodySize = 0;

    // The bytes after the sub-header (Jinx) or the whole payload (Ace). Positions in
    // diagnostics about the body count from the start of the file (uncompressed) or of the
    // inflated data (compressed), so body()[i] is at position bodyStart + i.
    std::span<const std::byte> body() const {
        const auto all = compressed ? std::span<const std::byte>(inflated) : source;
        return all.subspan(bodyStart, bodySize);
    }
};

struct ContainerResult {
    Container container;
    Diagnostics diagnostics;
    bool ok() const { return !diagnostics.hasErrors(); }
};

// Opens the container. Never throws for bad input; on failure the body is empty.
ContainerResult openContainer(std::span<const std::byte> bytes);

// Inflates a zlib stream into exactly `expectedSize` bytes (at most maxInflatedSize).
// Returns false with a diagnostic, and `out` empty, when the stream is broken, shorter or
// longer. The stream's checksum is not verified (see Container.cpp).
bool inflateExactly(std::span<const std::byte> zlibStream, std::uint32_t expectedSize,
                    InflatedBytes& out, Diagnostics& diagnostics, std::uint64_t position);
bool inflateExactly(std::span<const std::byte> zlibStream, std::uint32_t expectedSize,
                    std::vector<std::byte>& out, Diagnostics& diagnostics, std::uint64_t position);

} // namespace msts
