#pragma once

// The block reader of the bracketed text form, UTF-16LE or 8-bit, over the shared lexer.
//
// Declared here rather than hidden in BlockReader.cpp so that the shape reader can hold the
// concrete (final) reader and have its calls made directly, not through the interface.

#include "msts/BlockReader.h"
#include "msts/PlainNumber.h"
#include "msts/TextLexer.h"

#include <array>
#include <charconv>
#include <limits>

namespace msts {

// Reads a text body through the lexer, in one pass over its bytes: a token is a range of
// units, turned into a string only when the caller wants one (names, labels, quoted
// strings), and numbers are parsed from a small stack copy of their units.
template <bool Wide> class TextReader final : public BlockReader {
public:
    TextReader(std::span<const std::byte> body, std::uint64_t base, Diagnostics& diagnostics)
        : BlockReader(diagnostics), lexer_(body), base_(base) {}

    std::optional<BlockHeader> openBlock() override {
        // One named result for every return, so that it is built where the caller keeps it.
        std::optional<BlockHeader> result;
        for (;;) {
            const Lexeme next = peek();
            if (next.kind == Kind::End) {
                if (depth_ == 0)
                    return result;
                throw ReadError(DiagCode::UnexpectedEnd, positionOf(next), "missing ')'");
            }
            if (next.kind == Kind::Close) {
                if (depth_ > 0)
                    return result;
                // A stray ')' after the last block: tolerated.
                lex();
                diagnostics_.warn(DiagCode::TrailingData, positionOf(next), "stray ')'");
                continue;
            }
            if (next.kind == Kind::Open) {
                // A block without a name is a comment.
                lex();
                skipBalanced();
                continue;
            }
            if (next.kind == Kind::String)
                return result; // a value, not a block
            // A bare word: the block's name, unless it is a value.
            const std::size_t save = pos_;
            const Lexeme name = lex();
            if (name.end > name.begin && (unit(name.begin) == '#' || unit(name.begin) == '_')) {
                if (peek().kind == Kind::Open) {
                    lex();
                    skipBalanced();
                }
                continue;
            }
            Lexeme after = peek();
            std::optional<Lexeme> label;
            if (after.kind == Kind::Word || after.kind == Kind::String) {
                label = lex();
                if (peek().kind != Kind::Open) {
                    pos_ = save; // two values in a row: not a block
                    return result;
                }
                after = peek();
            }
            if (after.kind != Kind::Open) {
                pos_ = save;
                return result;
            }
            lex(); // '('
            if (isWord(name, "comment") || isWord(name, "skip")) {
                skipBalanced();
                continue;
            }
            if (depth_ >= maxDepth)
                throw ReadError(DiagCode::NestingTooDeep, positionOf(name),
                                "at most " + std::to_string(maxDepth) + " levels expected");
            ++depth_;
            BlockHeader& header = result.emplace();
            header.token = tokenOf(name).value_or(Token::Unknown);
            header.name = text(name);
            if (label)
                header.label = text(*label);
            header.position = positionOf(name);
            return result;
        }
    }

    void endBlock() override {
        if (depth_ == 0)
            return;
        skipBalanced();
        --depth_;
    }

    bool atBlockEnd() override {
        skipIgnorable();
        const Kind k = peek().kind;
        return k == Kind::Close || k == Kind::End;
    }

    bool nextIsBlock(Token token) override {
        skipIgnorable();
        const std::size_t save = pos_;
        const Lexeme name = lex();
        bool result = false;
        if (name.kind == Kind::Word && tokenOf(name) == token) {
            Lexeme after = lex();
            if (after.kind == Kind::Word || after.kind == Kind::String)
                after = lex();
            result = after.kind == Kind::Open;
        }
        pos_ = save;
        return result;
    }

    bool openBlockIf(Token token) override {
        const std::string_view lower = tokenName(token);
        if (lower.empty() || token == Token::Comment || depth_ >= maxDepth)
            return false;
        const std::size_t save = pos_;
        const Lexeme name = lex();
        if (!isWord(name, lower)) {
            pos_ = save;
            return false;
        }
        Lexeme after = lex();
        if (after.kind == Kind::Word || after.kind == Kind::String)
            after = lex(); // the label
        if (after.kind != Kind::Open) {
            pos_ = save;
            return false;
        }
        ++depth_;
        return true;
    }

    std::optional<BlockHeader> openBlockIfAny() override { return openBlock(); }

    std::int32_t readInt() override {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(readInteger()));
    }
    std::uint32_t readUInt() override { return static_cast<std::uint32_t>(readInteger()); }

    std::uint32_t readDword() override {
        std::uint32_t quick;
        if (quickValue([&](const char* f, const char* l) { return parsePlainHex(f, l, quick); }))
            return quick;
        const Lexeme t = value();
        Narrow n(*this, t);
        std::uint32_t v = 0;
        const auto [ptr, ec] = std::from_chars(n.first, n.last, v, 16);
        if (ec != std::errc() || ptr != n.last || n.last - n.first > 8)
            throw ReadError(DiagCode::BadNumber, positionOf(t), "hexadecimal dword expected");
        return v;
    }

    float readFloat() override {
        float quick;
        if (quickValue([&](const char* f, const char* l) { return parsePlainFloat(f, l, quick); }))
            return quick;
        const Lexeme t = value();
        const Narrow n(*this, t);
        float v = 0;
        const auto [ptr, ec] = std::from_chars(n.unsignedFirst(), n.last, v);
        if (ec == std::errc::result_out_of_range) {
            diagnostics_.warn(DiagCode::BadNumber, positionOf(t), "float in range expected");
            return 0;
        }
        if (ec != std::errc() || ptr != n.last)
            throw ReadError(DiagCode::BadNumber, positionOf(t), "float expected");
        return v;
    }

    std::string readString() override {
        std::string out = text(value());
        // "abc" + "def" is one string.
        for (;;) {
            const std::size_t save = pos_;
            const Lexeme plus = lex();
            if (plus.kind != Kind::Word || plus.end - plus.begin != 1 || unit(plus.begin) != '+') {
                pos_ = save;
                break;
            }
            const Lexeme more = lex();
            if (more.kind != Kind::Word && more.kind != Kind::String)
                throw ReadError(DiagCode::BadString, positionOf(more), "nothing after '+'");
            lexer_.appendText(out, more);
        }
        return out;
    }

    std::uint32_t readCount(std::size_t minBinaryItemBytes) {
        return readCountOf(*this, minBinaryItemBytes);
    }

    std::uint64_t position() const override { return base_ + pos_ * unitBytes; }
    std::uint64_t bytesLeft() const override { return (lexer_.size() - pos_) * unitBytes; }
    bool isBinary() const override { return false; }

    std::size_t maxItemsLeft(std::size_t) const override {
        // Every item takes at least one character and one separator.
        return (lexer_.size() - pos_) / 2 + 1;
    }

private:
    static constexpr std::size_t unitBytes = Wide ? 2 : 1;
    static constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

    using Kind = Lexeme::Kind;

    // A number's characters as 8-bit text: on the stack when short and ASCII, as they are
    // nearly always; otherwise through the full conversion.
    struct Narrow {
        Narrow(const TextReader& reader, const Lexeme& t) {
            const std::size_t n = t.end - t.begin;
            bool plain = t.kind == Kind::Word && n <= buffer.size();
            for (std::size_t i = 0; plain && i < n; ++i) {
                const char32_t c = reader.unit(t.begin + i);
                plain = c < 0x80;
                buffer[i] = static_cast<char>(c);
            }
            if (!plain) {
                spelled = reader.text(t);
                first = spelled.data();
                last = first + spelled.size();
            } else {
                first = buffer.data();
                last = first + n;
            }
        }
        std::array<char, 64> buffer;
        std::string spelled;
        const char* first;
        const char* last;
        // The spelling without a leading '+', which from_chars does not take.
        const char* unsignedFirst() const {
            return first != last && *first == '+' ? first + 1 : first;
        }
    };

    char32_t unit(std::size_t i) const { return lexer_.unit(i); }
    std::string text(const Lexeme& t) const { return lexer_.text(t); }
    bool isWord(const Lexeme& t, std::string_view lower) const { return lexer_.isWord(t, lower); }
    std::uint64_t positionOf(const Lexeme& t) const { return base_ + t.at * unitBytes; }

    std::optional<Token> tokenOf(const Lexeme& word) const {
        const Narrow n(*this, word);
        return tokenFromName(std::string_view(n.first, std::size_t(n.last - n.first)));
    }

    // The next token. The one last read is kept, so that reading again after stepping back
    // (peeking, looking for a comment) costs nothing.
    Lexeme lex() {
        if (pos_ == lastAt_) {
            pos_ = lastNext_;
            return last_;
        }
        const std::size_t at = pos_;
        last_ = scan();
        lastAt_ = at;
        lastNext_ = pos_;
        return last_;
    }

    Lexeme scan() {
        const Lexeme t = lexer_.next(pos_);
        if (t.kind == Kind::String && !t.closed)
            throw ReadError(DiagCode::BadString, positionOf(t), "unterminated string");
        return t;
    }

    Lexeme peek() {
        const std::size_t save = pos_;
        const Lexeme t = lex();
        pos_ = save;
        return t;
    }

    // Skips `#...` items and comment blocks where a value or the block's end comes next.
    void skipIgnorable() {
        for (;;) {
            const std::size_t save = pos_;
            const Lexeme t = lex();
            if (t.kind == Kind::Open) {
                skipBalanced();
                continue;
            }
            if ((isWord(t, "comment") || isWord(t, "skip")) && peek().kind == Kind::Open) {
                lex();
                skipBalanced();
                continue;
            }
            pos_ = save;
            return;
        }
    }

    // Skips to just after the ')' closing a block whose '(' was already read.
    void skipBalanced() {
        std::size_t open = 1;
        while (pos_ < lexer_.size()) {
            const char32_t c = unit(pos_);
            if (c == '"') {
                lex(); // quoted parentheses do not count
                continue;
            }
            ++pos_;
            if (c == '(') {
                ++open;
            } else if (c == ')') {
                if (--open == 0)
                    return;
            }
        }
        throw ReadError(DiagCode::UnexpectedEnd, position(), "missing ')'");
    }

    // The next value when it is a short ASCII word that `parse` takes (no comment or skip
    // word is a number): blanks, characters and number read in one pass, the reader moved past it.
    // Anything else (a comment to skip, a string, a word `parse` refuses) leaves the reader
    // where it was and returns false, for the general path to read or refuse the same way.
    template <typename Parse> bool quickValue(Parse&& parse) {
        std::size_t p = pos_;
        while (p < lexer_.size() && unit(p) <= 0x20)
            ++p;
        std::array<char, 32> chars;
        std::size_t n = 0;
        for (; p < lexer_.size(); ++p) {
            const char32_t c = unit(p);
            if (c <= 0x20 || c == '(' || c == ')' || c == '"')
                break;
            if (c >= 0x80 || n == chars.size())
                return false;
            chars[n++] = static_cast<char>(c);
        }
        if (n == 0 || !parse(chars.data(), chars.data() + n))
            return false;
        pos_ = p;
        return true;
    }

    Lexeme value() {
        skipIgnorable();
        const Lexeme t = lex();
        if (t.kind == Kind::Word || t.kind == Kind::String)
            return t;
        if (t.kind == Kind::End)
            throw ReadError(DiagCode::UnexpectedEnd, positionOf(t), "value expected");
        throw ReadError(DiagCode::UnexpectedToken, positionOf(t),
                        t.kind == Kind::Open ? "'(' where a value was expected"
                                             : "')' where a value was expected");
    }

    std::int64_t readInteger() {
        std::int64_t quick;
        if (quickValue([&](const char* f, const char* l) {
                return parsePlainInteger(f, l, quick) &&
                       quick >= std::numeric_limits<std::int32_t>::min() &&
                       quick <= std::numeric_limits<std::uint32_t>::max();
            }))
            return quick;
        const Lexeme t = value();
        const Narrow n(*this, t);
        std::int64_t v = 0;
        const auto [ptr, ec] = std::from_chars(n.unsignedFirst(), n.last, v);
        if (ec != std::errc() || ptr != n.last || v < std::numeric_limits<std::int32_t>::min() ||
            v > std::numeric_limits<std::uint32_t>::max())
            throw ReadError(DiagCode::BadNumber, positionOf(t), "32-bit integer expected");
        return v;
    }

    TextLexer<Wide> lexer_;
    std::uint64_t base_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    Lexeme last_;
    std::size_t lastAt_ = none;
    std::size_t lastNext_ = 0;
};

} // namespace msts
