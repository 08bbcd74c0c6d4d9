#pragma once

// The block reader of the binary form: 16-bit token, 16-bit token set, 32-bit length,
// 8-bit label length and UTF-16 label, then little-endian values.
//
// Declared here rather than hidden in BlockReader.cpp so that the shape reader can hold the
// concrete (final) reader and have its calls made directly, not through the interface.

#include "msts/BlockReader.h"
#include "msts/TextLexer.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace msts {

static_assert(std::endian::native == std::endian::little,
              "binary blocks are read by copying little-endian words");

class BinaryReader final : public BlockReader {
public:
    BinaryReader(std::span<const std::byte> body, std::uint64_t base, Diagnostics& diagnostics)
        : BlockReader(diagnostics), data_(body), base_(base) {}

    std::optional<BlockHeader> openBlock() override {
        // One named result for every return, so that it is built where the caller keeps it.
        std::optional<BlockHeader> result;
        for (;;) {
            const std::size_t end = currentEnd();
            if (pos_ >= end)
                return result;
            if (end - pos_ < 8)
                refuse(DiagCode::BlockOverrun, position(), "block header cut short");
            const std::uint16_t id = u16(pos_);
            const std::uint16_t set = u16(pos_ + 2);
            const std::uint32_t length = u32(pos_ + 4);
            const std::uint64_t at = position();
            if (length > end - pos_ - 8)
                overrun(at, length);
            const std::size_t blockEnd = pos_ + 8 + length;
            pos_ += 8;
            BlockHeader& header = result.emplace();
            header.position = at;
            if (length > 0) {
                const std::size_t labelUnits = std::to_integer<std::size_t>(data_[pos_]);
                ++pos_;
                if (labelUnits * 2 > blockEnd - pos_)
                    refuse(DiagCode::BlockOverrun, at, "label overruns its block");
                if (labelUnits > 0)
                    appendUtf16(header.label, labelUnits);
            }
            if (set == 0 && id == static_cast<std::uint16_t>(Token::Comment)) {
                pos_ = blockEnd;
                result.reset();
                continue;
            }
            if (ends_.size() >= static_cast<std::size_t>(maxDepth))
                refuse(DiagCode::NestingTooDeep, at, "blocks nested too deep");
            enter(blockEnd);
            const auto token = static_cast<Token>(id);
            if (set != 0 || !known(token)) {
                header.token = Token::Unknown;
                header.name = unknownName(id, set);
            } else {
                header.token = token;
            }
            return result;
        }
    }

    void endBlock() override {
        if (ends_.empty())
            return;
        pos_ = end_;
        end_ = ends_.back();
        ends_.pop_back();
    }

    bool atBlockEnd() override { return pos_ >= currentEnd(); }

    bool nextIsBlock(Token token) override {
        const std::size_t end = currentEnd();
        return end - pos_ >= 9 && u16(pos_) == static_cast<std::uint16_t>(token) &&
               u16(pos_ + 2) == 0 && u32(pos_ + 4) <= end - pos_ - 8;
    }

    bool openBlockIf(Token token) override {
        const std::size_t end = currentEnd();
        if (end - pos_ < 8 || u32(pos_) != static_cast<std::uint16_t>(token) ||
            token == Token::Comment || !known(token) ||
            ends_.size() >= static_cast<std::size_t>(maxDepth))
            return false;
        const std::uint32_t length = u32(pos_ + 4);
        if (length > end - pos_ - 8)
            return false;
        const std::size_t blockEnd = pos_ + 8 + length;
        std::size_t start = pos_ + 8;
        if (length > 0) {
            const std::size_t labelUnits = std::to_integer<std::size_t>(data_[start]);
            ++start;
            if (labelUnits * 2 > blockEnd - start)
                return false;
            start += labelUnits * 2;
        }
        enter(blockEnd);
        pos_ = start;
        return true;
    }

    std::optional<BlockHeader> openBlockIfAny() override {
        const std::size_t end = currentEnd();
        if (end - pos_ < 9 || u16(pos_ + 2) != 0 || u32(pos_ + 4) > end - pos_ - 8 ||
            !known(static_cast<Token>(u16(pos_))))
            return std::nullopt;
        return openBlock();
    }

    std::int32_t readInt() override { return static_cast<std::int32_t>(word()); }
    std::uint32_t readUInt() override { return word(); }
    std::uint32_t readDword() override { return word(); }
    float readFloat() override { return std::bit_cast<float>(word()); }

    std::string readString() override {
        need(2, "string length");
        const std::size_t units = u16(pos_);
        pos_ += 2;
        need(units * 2, "string");
        std::string out;
        appendUtf16(out, units);
        return out;
    }

    void readInts(std::size_t count, std::vector<std::int32_t>& out) override {
        copyWords(count, out);
    }
    void readUInts(std::size_t count, std::vector<std::uint32_t>& out) override {
        copyWords(count, out);
    }

    std::size_t readFloatBlocks(Token token, std::size_t floatsEach,
                                std::span<std::byte> out) override {
        if (ends_.size() >= static_cast<std::size_t>(maxDepth) || token == Token::Comment ||
            !known(token))
            return 0;
        // Points and vectors, texture coordinates: copies of a length known when compiled.
        if (floatsEach == 3)
            return plainBlocks<3>(token, out);
        if (floatsEach == 2)
            return plainBlocks<2>(token, out);
        return 0;
    }

    std::uint32_t readCount(std::size_t minBinaryItemBytes) {
        return readCountOf(*this, minBinaryItemBytes);
    }

    // For a caller that reads a run of blocks of one fixed form straight from the bytes: what
    // is left of the current block, moving past what it took, and how deep blocks are open
    // (blocks it steps over may not nest deeper than openBlock allows).
    std::span<const std::byte> unreadBytes() const {
        return data_.subspan(pos_, currentEnd() - pos_);
    }
    void skipBytes(std::size_t bytes) { pos_ += std::min(bytes, currentEnd() - pos_); }
    std::size_t depth() const { return ends_.size(); }

    std::uint64_t position() const override { return base_ + pos_; }
    std::uint64_t bytesLeft() const override { return currentEnd() - pos_; }
    bool isBinary() const override { return true; }
    std::size_t maxItemsLeft(std::size_t minItemBytes) const override {
        return (currentEnd() - pos_) / (minItemBytes ? minItemBytes : 1);
    }

private:
    // `count` 32-bit little-endian words, copied as they lie.
    template <typename Word> void copyWords(std::size_t count, std::vector<Word>& out) {
        need(count * 4, "list");
        out.resize(count);
        if (count)
            std::memcpy(out.data(), data_.data() + pos_, count * 4);
        pos_ += count * 4;
    }
    // A run of blocks `token` of `Floats` floats each, no label; see readFloatBlocks.
    template <std::size_t Floats> std::size_t plainBlocks(Token token, std::span<std::byte> out) {
        constexpr std::size_t content = 4 * Floats;
        constexpr std::size_t blockBytes = 9 + content;
        // Token, token set 0, then the length of the label byte and the floats.
        const std::uint32_t head = static_cast<std::uint16_t>(token);
        const std::size_t most = out.size() / content;
        const std::size_t end = currentEnd();
        std::size_t n = 0;
        while (n < most && end - pos_ >= blockBytes && u32(pos_) == head &&
               u32(pos_ + 4) == 1 + content && data_[pos_ + 8] == std::byte{0}) {
            std::memcpy(out.data() + n * content, data_.data() + pos_ + 9, content);
            pos_ += blockBytes;
            ++n;
        }
        return n;
    }

    std::size_t currentEnd() const { return end_; }

    bool known(Token token) const {
        const auto index = static_cast<std::size_t>(token);
        return index < named_.size() && named_[index];
    }

    void enter(std::size_t blockEnd) {
        ends_.push_back(end_);
        end_ = blockEnd;
    }

    [[gnu::always_inline]] void need(std::size_t bytes, const char* what) const {
        if (bytes > currentEnd() - pos_)
            runsPast(what);
    }

    // The refusals, out of line: the paths that read are kept small enough to inline.
    [[noreturn]] static void refuse(DiagCode code, std::uint64_t at, const char* what);
    [[noreturn]] static void overrun(std::uint64_t at, std::uint32_t length);
    [[noreturn]] void runsPast(const char* what) const;
    static std::string unknownName(std::uint16_t id, std::uint16_t set);

    std::uint16_t u16(std::size_t at) const {
        std::uint16_t v;
        std::memcpy(&v, data_.data() + at, 2);
        return v;
    }
    std::uint32_t u32(std::size_t at) const {
        std::uint32_t v;
        std::memcpy(&v, data_.data() + at, 4);
        return v;
    }
    // Forced inline: a call per value would cost as much as the value's reading.
    [[gnu::always_inline]] std::uint32_t word() {
        need(4, "value");
        const std::uint32_t v = u32(pos_);
        pos_ += 4;
        return v;
    }

    // Reads `units` UTF-16 code units at pos_ (already bounds-checked) as UTF-8. Most labels
    // are empty and most strings ASCII: those take no conversion.
    void appendUtf16(std::string& out, std::size_t units) {
        const std::byte* p = data_.data() + pos_;
        pos_ += units * 2;
        std::size_t ascii = 0;
        while (ascii < units && p[2 * ascii + 1] == std::byte{0} &&
               std::to_integer<unsigned>(p[2 * ascii]) < 0x80)
            ++ascii;
        out.reserve(out.size() + units);
        for (std::size_t i = 0; i < ascii; ++i)
            out.push_back(std::to_integer<char>(p[2 * i]));
        // The rest a character at a time; a unit past the end reads as 0, no surrogate.
        const auto unitAt = [&](std::size_t k) -> char32_t {
            return k < units ? std::to_integer<char32_t>(p[2 * k]) |
                                   std::to_integer<char32_t>(p[2 * k + 1]) << 8
                             : 0;
        };
        for (std::size_t i = ascii; i < units; ++i) {
            bool paired;
            const char32_t c = utf16Character(unitAt(i), unitAt(i + 1), paired);
            i += paired;
            appendUtf8(out, c);
        }
    }

    std::span<const std::byte> data_;
    std::uint64_t base_;
    const std::array<bool, 256>& named_ = namedTokens();
    std::size_t pos_ = 0;
    // The end of the current block, and those of the blocks around it, outermost first.
    std::size_t end_ = data_.size();
    std::vector<std::size_t> ends_;
};

} // namespace msts
