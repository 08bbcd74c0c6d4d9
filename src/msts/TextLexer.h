#pragma once

// The tokens of the simulator's bracketed text: `(`, `)`, quoted strings and bare words.
//
// A word ends at a blank (any character up to U+0020), a bracket or a quote. A string runs
// from its quote to the next unescaped one; a backslash escapes the character after it, and
// `\n` and `\t` stand for a line feed and a tab. The lexer reads the characters straight from
// the bytes, UTF-16LE code units or 8-bit Windows-1252 ones, and a token is a range of them:
// it becomes a string only when the caller asks for its text.
//
// The lexer never fails. A string whose closing quote never comes runs to the end of the
// text and says so, and each reader decides what that means: the shape reader refuses the
// file, a reader that only picks entries out of a definition file goes on.

#include "msts/Windows1252.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace msts {

static_assert(std::endian::native == std::endian::little,
              "UTF-16LE text is read by copying its code units");

struct Lexeme {
    enum class Kind : std::uint8_t { Word, String, Open, Close, End };
    Kind kind = Kind::End;
    // Where the token starts, in characters from the start of the text.
    std::size_t at = 0;
    // A word's characters, or what lies between a string's quotes (escapes still in).
    std::size_t begin = 0;
    std::size_t end = 0;
    // False for a string the text ends inside.
    bool closed = true;
};

// Appends a Unicode scalar value as UTF-8.
inline void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The character a UTF-16 code unit begins, `next` being the unit after it (0 at the end): a
// surrogate pair is one character and takes both units (`paired`); an unpaired surrogate is
// U+FFFD.
inline char32_t utf16Character(char32_t unit, char32_t next, bool& paired) {
    paired = unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF;
    if (paired)
        return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
    return unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit;
}

template <bool Wide> class TextLexer {
public:
    // `text` holds UTF-16LE code units when Wide (a stray last byte is no character), 8-bit
    // Windows-1252 ones otherwise.
    explicit TextLexer(std::span<const std::byte> text)
        : data_(text), size_(Wide ? text.size() / 2 : text.size()) {}

    // Characters in the text.
    std::size_t size() const { return size_; }

    // The character at `i`: a UTF-16 code unit, or an 8-bit code.
    char32_t unit(std::size_t i) const {
        if constexpr (Wide) {
            std::uint16_t v;
            std::memcpy(&v, data_.data() + 2 * i, 2);
            return v;
        } else {
            return std::to_integer<unsigned char>(data_[i]);
        }
    }

    // The token at or after character `pos`, which moves past it. The lexer keeps no place
    // of its own, so a reader steps back by keeping an earlier `pos`.
    Lexeme next(std::size_t& pos) const {
        while (pos < size_ && unit(pos) <= 0x20)
            ++pos;
        Lexeme t;
        t.at = pos;
        if (pos >= size_) {
            t.begin = t.end = pos;
            return t;
        }
        const char32_t c = unit(pos);
        if (c == '(' || c == ')') {
            t.kind = c == '(' ? Lexeme::Kind::Open : Lexeme::Kind::Close;
            t.begin = t.end = ++pos;
            return t;
        }
        if (c == '"') {
            t.kind = Lexeme::Kind::String;
            t.begin = ++pos;
            for (;;) {
                if (pos >= size_) {
                    t.end = size_;
                    t.closed = false;
                    return t;
                }
                const char32_t d = unit(pos);
                if (d == '"') {
                    t.end = pos++;
                    return t;
                }
                pos += d == '\\' && pos + 1 < size_ ? 2 : 1;
            }
        }
        t.kind = Lexeme::Kind::Word;
        t.begin = pos;
        while (pos < size_) {
            const char32_t d = unit(pos);
            if (d <= 0x20 || d == '(' || d == ')' || d == '"')
                break;
            ++pos;
        }
        t.end = pos;
        return t;
    }

    // True when the token is the word `lower` (ASCII, lower case) in any letter case.
    bool isWord(const Lexeme& t, std::string_view lower) const {
        if (t.kind != Lexeme::Kind::Word || t.end - t.begin != lower.size())
            return false;
        for (std::size_t i = 0; i < lower.size(); ++i) {
            char32_t c = unit(t.begin + i);
            if (c >= 'A' && c <= 'Z')
                c = c - 'A' + 'a';
            if (c != static_cast<unsigned char>(lower[i]))
                return false;
        }
        return true;
    }

    // Appends the token's text as UTF-8, a string's escapes resolved; brackets have none.
    void appendText(std::string& out, const Lexeme& t) const {
        if (t.kind == Lexeme::Kind::Word) {
            // Names and numbers are ASCII nearly always: written in place, not a character at
            // a time, up to the first character that is not.
            const std::size_t start = out.size();
            out.resize(start + (t.end - t.begin));
            char* written = out.data() + start;
            std::size_t i = t.begin;
            for (; i < t.end && unit(i) < 0x80; ++i)
                *written++ = static_cast<char>(unit(i));
            out.resize(std::size_t(written - out.data()));
            for (; i < t.end; ++i) {
                const char32_t c = unit(i);
                if (c < 0x80)
                    out.push_back(static_cast<char>(c));
                else
                    appendCharacter(out, i, t.end);
            }
            return;
        }
        if (t.kind != Lexeme::Kind::String)
            return;
        for (std::size_t i = t.begin; i < t.end; ++i) {
            if (unit(i) == '\\' && i + 1 < t.end) {
                ++i;
                const char32_t e = unit(i);
                if (e == 'n')
                    out.push_back('\n');
                else if (e == 't')
                    out.push_back('\t');
                else
                    appendCharacter(out, i, t.end);
                continue;
            }
            appendCharacter(out, i, t.end);
        }
    }

    std::string text(const Lexeme& t) const {
        std::string out;
        appendText(out, t);
        return out;
    }

private:
    // The character at `i` as UTF-8; a surrogate pair before `end` is one character (`i`
    // moves onto its second half) and an unpaired surrogate becomes U+FFFD.
    void appendCharacter(std::string& out, std::size_t& i, std::size_t end) const {
        char32_t c = unit(i);
        if constexpr (Wide) {
            bool paired;
            c = utf16Character(c, i + 1 < end ? unit(i + 1) : 0, paired);
            i += paired;
        } else {
            c = Windows1252ToUnicode(static_cast<unsigned char>(c));
        }
        appendUtf8(out, c);
    }

    std::span<const std::byte> data_;
    std::size_t size_;
};

} // namespace msts
