#pragma once

// One block reader over the text and the binary forms of structured simulator files.
//
// Both forms hold the same tree of blocks: a token, an optional label, then values and child
// blocks in a fixed order. In text a block is `name [label] ( ... )` with case-insensitive
// names, `comment`/`skip` blocks and `#`/`_` items ignored, quoted strings with escapes and
// `+` joins. In binary a block is a 16-bit token, a 16-bit token set, a 32-bit length of what
// follows, an 8-bit label length and a UTF-16 label; strings are a 16-bit count and UTF-16
// code units. Strings and labels come out as UTF-8 (8-bit text is taken as Windows-1252).
//
// Malformed input makes a reader throw ReadError; readers built on it catch that at their
// entry point and turn it into a diagnostic, so no bad byte gets further.

#include "msts/Container.h"
#include "msts/Diagnostics.h"
#include "msts/Token.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace msts {

struct ReadError : std::runtime_error {
    ReadError(DiagCode code, std::uint64_t position, std::string what)
        : std::runtime_error(what), code(code), position(position) {}
    DiagCode code;
    std::uint64_t position;
};

struct BlockHeader {
    Token token = Token::Unknown;
    std::string name; // the name as written (text); the number of an unknown token (binary)
    std::string label;
    std::uint64_t position = 0;
};

class BlockReader {
public:
    // Deepest nesting of blocks accepted.
    static constexpr int maxDepth = 64;

    virtual ~BlockReader() = default;

    // A reader for the body of an opened container (text or binary, by its encoding).
    static std::unique_ptr<BlockReader> create(const Container& container,
                                               Diagnostics& diagnostics);

    // Opens the next child block of the current one, or returns nothing when the current
    // block has no more content (its end, or values instead of a block).
    virtual std::optional<BlockHeader> openBlock() = 0;
    // Opens the next block and checks that it is `token`; throws otherwise.
    BlockHeader expectBlock(Token token);
    // Leaves the current block, skipping whatever of it was not read.
    virtual void endBlock() = 0;
    // True when the current block holds nothing more.
    virtual bool atBlockEnd() = 0;
    // True when the next item of the current block is a child block with this token.
    virtual bool nextIsBlock(Token token) = 0;
    // Opens the next child block when it is `token` and returns true, without building a
    // header (its label is passed over). Returns false having read nothing when the next
    // item is anything else, or something openBlock would skip or refuse: openBlock then
    // reads it as it would have anyway.
    virtual bool openBlockIf(Token token) = 0;
    // Opens the next item if it is a block; nothing when it is a value or the end. In binary
    // only a known token with a length that fits counts as a block, since values and block
    // headers cannot be told apart otherwise.
    virtual std::optional<BlockHeader> openBlockIfAny() = 0;

    virtual std::int32_t readInt() = 0;
    virtual std::uint32_t readUInt() = 0;
    virtual std::uint32_t readDword() = 0; // 8 hex digits in text
    virtual float readFloat() = 0;
    virtual std::string readString() = 0;
    // Reads `count` values into `out` (resized); checks the bytes left first.
    virtual void readInts(std::size_t count, std::vector<std::int32_t>& out);
    virtual void readUInts(std::size_t count, std::vector<std::uint32_t>& out);

    // Reads a run of child blocks `token` that each hold `floatsEach` floats and nothing else
    // (no label, no more bytes), their floats' bytes going one block after another into
    // `out`, for as many blocks as fit in it; returns how many it read. It stops at the first
    // block of any other form and leaves it for openBlock, so going on block by block reads
    // what opening each block would have. Only the binary form has a fast way, for blocks of
    // two or three floats (points, vectors, texture coordinates); others read none.
    virtual std::size_t readFloatBlocks(Token token, std::size_t floatsEach,
                                        std::span<std::byte> out);

    // Reads a count and checks it: negative counts throw; counts larger than the bytes
    // left could hold (each item taking at least minItemBytes in binary) throw too.
    std::uint32_t readCount(std::size_t minBinaryItemBytes) {
        return readCountOf(*this, minBinaryItemBytes);
    }

    // Byte position of the next thing to be read.
    virtual std::uint64_t position() const = 0;
    // Bytes left in the current block (binary) or in the whole text (text).
    virtual std::uint64_t bytesLeft() const = 0;
    virtual bool isBinary() const = 0;
    // How many more items the current block could hold at most, each taking at least
    // minBinaryItemBytes in binary (text items take at least two characters).
    virtual std::size_t maxItemsLeft(std::size_t minBinaryItemBytes) const = 0;

protected:
    explicit BlockReader(Diagnostics& diagnostics) : diagnostics_(diagnostics) {}

    // readCount's rule for a reader of any type. Each final reader hides readCount with a
    // call to this on itself, so that the reads it makes are direct calls.
    template <typename Reader>
    static std::uint32_t readCountOf(Reader& reader, std::size_t minBinaryItemBytes) {
        const std::uint64_t at = reader.position();
        const std::int32_t count = reader.readInt();
        if (count < 0)
            badCount(DiagCode::NegativeCount, at, count);
        if (static_cast<std::size_t>(count) > reader.maxItemsLeft(minBinaryItemBytes))
            badCount(DiagCode::CountTooLarge, at, count);
        return static_cast<std::uint32_t>(count);
    }
    [[noreturn]] static void badCount(DiagCode code, std::uint64_t at, std::int32_t count);

    Diagnostics& diagnostics_;
};

} // namespace msts
