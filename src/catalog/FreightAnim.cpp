#include "catalog/FreightAnim.h"

#include "catalog/TextSearch.h"

#include "msts/TextLexer.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>
#include <span>
#include <string_view>

namespace catalog {

namespace {

using Lexer = msts::TextLexer<true>;
using Kind = msts::Lexeme::Kind;

// The definition text read one token at a time, straight from its UTF-16 units, so that
// token positions are positions in the text and no list of tokens is built: a hostile file of
// millions of tokens costs no memory beyond its text.
class Reader {
public:
    explicit Reader(const QString& text)
        : text_(text), lexer_(std::as_bytes(std::span(text.utf16(), std::size_t(text.size())))) {}

    // The token at or after `pos`, which moves past it.
    msts::Lexeme next(std::size_t& pos) const { return lexer_.next(pos); }
    // The token at or after `pos`, which stays.
    msts::Lexeme peek(std::size_t pos) const { return lexer_.next(pos); }

    bool isWord(const msts::Lexeme& t, std::string_view lower) const {
        return lexer_.isWord(t, lower);
    }
    QString text(const msts::Lexeme& t) const { return QString::fromStdString(lexer_.text(t)); }
    // Whether the token after `pos` is an opening bracket.
    bool opensBlock(std::size_t pos) const { return peek(pos).kind == Kind::Open; }
    // Whether `t`, read up to `pos`, starts a FreightAnim entry.
    bool startsEntry(const msts::Lexeme& t, std::size_t pos) const {
        return isWord(t, "freightanim") && opensBlock(pos);
    }

    // Where the token ends in the text, the closing quote of a string included.
    static std::size_t endOf(const msts::Lexeme& t) {
        return t.kind == Kind::String && t.closed ? t.end + 1 : t.end;
    }
    // The text from `from` to `to` on one line, its blanks run together.
    QString quote(std::size_t from, std::size_t to) const {
        return text_.mid(qsizetype(from), qsizetype(to - from)).simplified();
    }
    bool breakIn(std::size_t from, std::size_t to) const {
        for (std::size_t k = from; k < to; ++k)
            if (isLineBreak(k))
                return true;
        return false;
    }

    // The line (from 1) that position `at` lies on. Asked in increasing positions, it counts
    // each character once.
    int lineAt(std::size_t at) {
        for (; counted_ < at; ++counted_)
            if (isLineBreak(counted_) &&
                !(lexer_.unit(counted_) == u'\r' && counted_ + 1 < lexer_.size() &&
                  lexer_.unit(counted_ + 1) == u'\n'))
                ++line_;
        return line_;
    }

private:
    bool isLineBreak(std::size_t k) const {
        const char32_t c = lexer_.unit(k);
        return c == u'\n' || c == u'\r';
    }

    const QString& text_;
    Lexer lexer_;
    std::size_t counted_ = 0;
    int line_ = 1;
};

// How a bracketed block read from its opening bracket ended.
struct Block {
    std::size_t past = 0; // after its closing bracket, or where the reading stopped
    bool closed = false;
};

// Reads from just after an opening bracket to just after the bracket that closes it. The
// reading stops where the text ends first or, with `stopAtEntry`, where a later FreightAnim
// entry starts, which keeps a text full of unclosed entries to one pass: each is read up to
// the next, never to the end of the text. `visit` sees every token inside, with its depth.
template <typename Visit>
Block readBlock(const Reader& reader, std::size_t pos, bool stopAtEntry, Visit&& visit) {
    int depth = 1;
    for (;;) {
        const std::size_t at = pos;
        const msts::Lexeme t = reader.next(pos);
        if (t.kind == Kind::End)
            return {at, false};
        if (t.kind == Kind::Close && --depth == 0)
            return {pos, true};
        if (stopAtEntry && reader.startsEntry(t, pos))
            return {at, false};
        visit(t, depth);
        if (t.kind == Kind::Open)
            ++depth;
    }
}

struct Entry {
    FreightAnim anim;
    double fullHeight = 0.0;
};

// One FreightAnim entry: its token `word`, whose bracket comes next at `pos`. Moves `pos`
// past the entry, or onto its bracket when the entry is unclosed.
std::optional<Entry> readEntry(Reader& reader, const msts::Lexeme& word, std::size_t& pos,
                               QList<FreightAnimProblem>& problems) {
    // The end of its last token on the line it starts on, to quote an unclosed entry by.
    std::size_t lineEnd = Reader::endOf(word);
    std::size_t lastStart = word.at;
    bool sameLine = true;
    const auto onFirstLine = [&](const msts::Lexeme& t) {
        sameLine = sameLine && !reader.breakIn(lastStart, t.at);
        if (sameLine) {
            lineEnd = Reader::endOf(t);
            lastStart = t.at;
        }
    };
    std::size_t bracket = pos;
    onFirstLine(reader.next(bracket));
    // Its values; a fifth is enough to tell that there are too many.
    msts::Lexeme values[5];
    int valueCount = 0;
    bool nested = false;
    const Block block = readBlock(reader, bracket, true, [&](const msts::Lexeme& t, int depth) {
        onFirstLine(t);
        if (depth > 1 || t.kind == Kind::Open || t.kind == Kind::Close)
            nested = true;
        else if (valueCount < 5)
            values[valueCount++] = t;
    });
    FreightAnimProblem problem;
    problem.Line = reader.lineAt(word.at);
    const auto fail = [&](FreightAnimProblem::Reason why) {
        problem.Why = why;
        problems.append(problem);
        return std::nullopt;
    };
    if (!block.closed) {
        // The rest of the text is no part of it: quote its line up to the next entry, read on
        // from its bracket.
        problem.Entry = reader.quote(word.at, lineEnd);
        return fail(FreightAnimProblem::Reason::Unclosed);
    }
    pos = block.past;
    problem.Entry = reader.quote(word.at, block.past);
    if (nested)
        return fail(FreightAnimProblem::Reason::NestedBlock);
    const QString shape = valueCount == 0 ? QString() : reader.text(values[0]).trimmed();
    if (shape.isEmpty())
        return fail(FreightAnimProblem::Reason::NoShape);
    if (valueCount < 3)
        return fail(FreightAnimProblem::Reason::MissingNumbers);
    if (valueCount > 4)
        return fail(FreightAnimProblem::Reason::TooManyValues);
    double numbers[3] = {0, 0, 0};
    for (int k = 1; k < valueCount; ++k)
        if (values[k].kind != Kind::Word || !ParseDistance(reader.text(values[k]), numbers[k - 1]))
            return fail(FreightAnimProblem::Reason::NotANumber);
    Entry entry;
    entry.anim.Shape = shape;
    entry.fullHeight = numbers[0];
    return entry;
}

} // namespace

bool ParseDistance(const QString& text, double& metres) {
    static const QRegularExpression form(
        QStringLiteral(R"(^([+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?)([A-Za-z]*)$)"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    const QString unit = match.captured(2).toLower();
    double scale = 0;
    if (unit.isEmpty() || unit == QLatin1String("m"))
        scale = 1;
    else if (unit == QLatin1String("cm"))
        scale = 0.01;
    else if (unit == QLatin1String("mm"))
        scale = 0.001;
    else if (unit == QLatin1String("km"))
        scale = 1000;
    else if (unit == QLatin1String("ft"))
        scale = 0.3048;
    else if (unit == QLatin1String("in"))
        scale = 0.0254;
    else
        return false;
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok) * scale;
    if (!ok || !std::isfinite(value))
        return false;
    metres = value;
    return true;
}

FreightAnimReading ReadFreightAnims(const QString& definitionText) {
    FreightAnimReading reading;
    // Entries and their problems both start at the token, so a text without it has none;
    // most vehicles carry no load, and the scan need not tokenize their whole text.
    if (FindAsciiWord(definitionText, u"freightanim") < 0)
        return reading;
    Reader reader(definitionText);
    QList<Entry> entries;
    std::optional<QString> type;
    qsizetype readCount = 0;
    int depth = 0;
    for (std::size_t pos = 0;;) {
        const msts::Lexeme t = reader.next(pos);
        if (t.kind == Kind::End)
            break;
        if ((reader.isWord(t, "comment") || reader.isWord(t, "skip")) && reader.opensBlock(pos)) {
            reader.next(pos); // the bracket
            pos = readBlock(reader, pos, false, [](const msts::Lexeme&, int) {}).past;
            continue;
        }
        const bool entryStart = reader.startsEntry(t, pos);
        if (entryStart && readCount < MaximumFreightAnims) {
            ++readCount;
            if (std::optional<Entry> entry = readEntry(reader, t, pos, reading.Problems))
                entries.append(*entry);
            continue;
        }
        if (entryStart && readCount++ == MaximumFreightAnims) {
            // A vehicle draws a few loads; thousands of entries are no vehicle's, and each
            // would be a shape to read. One note tells where the rest was left; the walk goes
            // on through them for the vehicle's Type.
            std::size_t bracket = pos;
            reader.next(bracket);
            reading.Problems.append({FreightAnimProblem::Reason::PastLimit, reader.lineAt(t.at),
                                     reader.quote(t.at, bracket)});
        }
        // The vehicle's own Type is the one directly inside the Wagon block; the Engine block
        // and the coupling have theirs too.
        if (depth == 1 && !type && reader.isWord(t, "type") && reader.opensBlock(pos)) {
            std::size_t inside = pos;
            reader.next(inside); // the bracket
            const msts::Lexeme value = reader.next(inside);
            if (value.kind != Kind::End && reader.next(inside).kind == Kind::Close)
                type = reader.text(value);
        }
        if (t.kind == Kind::Open)
            ++depth;
        else if (t.kind == Kind::Close && depth > 0)
            --depth;
    }
    const bool tender = type && type->compare(QLatin1String("Tender"), Qt::CaseInsensitive) == 0;
    for (Entry& entry : entries) {
        // A tender's load is drawn full; other vehicles' freight shapes carry their own place.
        entry.anim.Height = tender ? entry.fullHeight : 0.0;
        reading.Anims.append(entry.anim);
    }
    return reading;
}

} // namespace catalog
