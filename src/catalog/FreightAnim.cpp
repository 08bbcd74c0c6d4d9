#include "catalog/FreightAnim.h"

#include "catalog/TextSearch.h"

#include "msts/TextLexer.h"

#include <QRegularExpression>

#include <cmath>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace catalog {

namespace {

using Lexer = msts::TextLexer<true>;
using Kind = msts::Lexeme::Kind;

// A token of the definition text and the line (from 1) it starts on.
struct Token {
    msts::Lexeme lexeme;
    int line = 1;

    Kind kind() const { return lexeme.kind; }
    // Its span in the text, quotes and all, for quoting an entry back.
    qsizetype begin() const { return qsizetype(lexeme.at); }
    qsizetype end() const {
        return qsizetype(lexeme.kind == Kind::String && lexeme.closed ? lexeme.end + 1
                                                                      : lexeme.end);
    }
};

// The text's tokens as the format's lexer reads them, each with its line. The lexer reads
// the text's own UTF-16 units, so that token spans are positions in the text.
struct Tokens {
    explicit Tokens(const QString& text)
        : lexer(std::as_bytes(std::span(text.utf16(), std::size_t(text.size())))) {
        int line = 1;
        std::size_t counted = 0;
        for (std::size_t pos = 0;;) {
            Token t;
            t.lexeme = lexer.next(pos);
            if (t.kind() == Kind::End)
                break;
            // Lines end at LF, CR LF or a lone CR; those inside a string count after it.
            for (; counted < t.lexeme.at; ++counted) {
                const char32_t c = lexer.unit(counted);
                if (c == u'\n' || (c == u'\r' && (counted + 1 >= lexer.size() ||
                                                  lexer.unit(counted + 1) != u'\n')))
                    ++line;
            }
            t.line = line;
            list.append(t);
        }
    }

    bool isWord(qsizetype i, std::string_view lower) const {
        return lexer.isWord(list[i].lexeme, lower);
    }
    QString text(qsizetype i) const { return QString::fromStdString(lexer.text(list[i].lexeme)); }
    qsizetype size() const { return list.size(); }
    const Token& operator[](qsizetype i) const { return list[i]; }

    Lexer lexer;
    QList<Token> list;
};

bool opensBlock(const Tokens& tokens, qsizetype i) {
    return i + 1 < tokens.size() && tokens[i + 1].kind() == Kind::Open;
}

bool startsEntry(const Tokens& tokens, qsizetype i) {
    return tokens.isWord(i, "freightanim") && opensBlock(tokens, i);
}

// The index just past the bracket that closes the one at `open`, or where the scan stops when
// the text ends first or, with `entryStart` given, where a later FreightAnim entry starts
// (then `closed` is set false). Stopping at the next entry keeps a text full of unclosed
// entries to one pass: each is read up to the next, never to the end of the text.
qsizetype pastBlock(const Tokens& tokens, qsizetype open, bool* closed = nullptr,
                    const std::function<bool(qsizetype)>& entryStart = {}) {
    int depth = 0;
    for (qsizetype i = open; i < tokens.size(); ++i) {
        if (tokens[i].kind() == Kind::Open)
            ++depth;
        else if (tokens[i].kind() == Kind::Close && --depth == 0) {
            if (closed)
                *closed = true;
            return i + 1;
        } else if (entryStart && entryStart(i)) {
            if (closed)
                *closed = false;
            return i;
        }
    }
    if (closed)
        *closed = false;
    return tokens.size();
}

QString entryText(const QString& text, const Tokens& tokens, qsizetype first, qsizetype past) {
    const qsizetype end = past > first ? tokens[past - 1].end() : tokens[first].end();
    return text.mid(tokens[first].begin(), end - tokens[first].begin()).simplified();
}

struct Entry {
    FreightAnim anim;
    double fullHeight = 0.0;
};

// One FreightAnim entry whose token is at `at` and whose bracket follows it. Sets `past` to
// the index after the entry.
std::optional<Entry> readEntry(const QString& text, const Tokens& tokens, qsizetype at,
                               qsizetype& past, QList<FreightAnimProblem>& problems) {
    bool closed = false;
    past = pastBlock(tokens, at + 1, &closed,
                     [&tokens](qsizetype i) { return startsEntry(tokens, i); });
    FreightAnimProblem problem;
    problem.Line = tokens[at].line;
    problem.Entry = entryText(text, tokens, at, past);
    const auto fail = [&](FreightAnimProblem::Reason why) {
        problem.Why = why;
        problems.append(problem);
        return std::nullopt;
    };
    if (!closed) {
        // The rest of the text is no part of it: quote its line up to the next entry, read on
        // from its bracket.
        qsizetype last = at;
        while (last + 1 < past && tokens[last + 1].line == tokens[at].line)
            ++last;
        problem.Entry = entryText(text, tokens, at, last + 1);
        past = at + 1;
        return fail(FreightAnimProblem::Reason::Unclosed);
    }
    QList<qsizetype> values;
    for (qsizetype i = at + 2; i < past - 1; ++i) {
        if (tokens[i].kind() == Kind::Open || tokens[i].kind() == Kind::Close)
            return fail(FreightAnimProblem::Reason::NestedBlock);
        values.append(i);
    }
    const QString shape = values.isEmpty() ? QString() : tokens.text(values[0]).trimmed();
    if (shape.isEmpty())
        return fail(FreightAnimProblem::Reason::NoShape);
    if (values.size() < 3)
        return fail(FreightAnimProblem::Reason::MissingNumbers);
    if (values.size() > 4)
        return fail(FreightAnimProblem::Reason::TooManyValues);
    double numbers[3] = {0, 0, 0};
    for (qsizetype k = 1; k < values.size(); ++k)
        if (tokens[values[k]].kind() != Kind::Word ||
            !ParseDistance(tokens.text(values[k]), numbers[k - 1]))
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
    const Tokens tokens(definitionText);
    QList<Entry> entries;
    std::optional<QString> type;
    qsizetype readCount = 0;
    int depth = 0;
    qsizetype i = 0;
    while (i < tokens.size()) {
        const Token& t = tokens[i];
        if ((tokens.isWord(i, "comment") || tokens.isWord(i, "skip")) && opensBlock(tokens, i)) {
            i = pastBlock(tokens, i + 1);
            continue;
        }
        if (startsEntry(tokens, i) && readCount < MaximumFreightAnims) {
            ++readCount;
            qsizetype past = i;
            if (std::optional<Entry> entry =
                    readEntry(definitionText, tokens, i, past, reading.Problems))
                entries.append(*entry);
            i = past;
            continue;
        }
        if (startsEntry(tokens, i) && readCount++ == MaximumFreightAnims)
            // A vehicle draws a few loads; thousands of entries are no vehicle's, and each
            // would be a shape to read. One note tells where the rest was left; the walk goes
            // on through them for the vehicle's Type.
            reading.Problems.append({FreightAnimProblem::Reason::PastLimit, t.line,
                                     entryText(definitionText, tokens, i, i + 2)});
        // The vehicle's own Type is the one directly inside the Wagon block; the Engine block
        // and the coupling have theirs too.
        if (depth == 1 && !type && tokens.isWord(i, "type") && opensBlock(tokens, i) &&
            i + 3 < tokens.size() && tokens[i + 3].kind() == Kind::Close)
            type = tokens.text(i + 2);
        if (t.kind() == Kind::Open)
            ++depth;
        else if (t.kind() == Kind::Close && depth > 0)
            --depth;
        ++i;
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
