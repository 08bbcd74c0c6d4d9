#include "catalog/FreightAnim.h"

#include "catalog/TextSearch.h"

#include <QRegularExpression>

#include <cmath>
#include <functional>
#include <optional>

namespace catalog {

namespace {

struct Token {
    enum class Kind { Open, Close, Word, Quoted };
    Kind kind = Kind::Word;
    QString text;
    int line = 1;
    qsizetype begin = 0; // span in the text, for quoting an entry back
    qsizetype end = 0;
};

bool isSpace(QChar c) {
    return c.unicode() <= 0x20;
}

// The simulator's text tokens: brackets, quoted texts (backslash escapes the next character)
// and bare words, which end at a blank, a bracket or a quote.
QList<Token> tokenize(const QString& text) {
    QList<Token> tokens;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto countLines = [&](qsizetype from, qsizetype to) {
        for (qsizetype k = from; k < to; ++k)
            if (text[k] == u'\n' || (text[k] == u'\r' && (k + 1 >= n || text[k + 1] != u'\n')))
                ++line;
    };
    while (i < n) {
        const QChar c = text[i];
        if (isSpace(c)) {
            countLines(i, i + 1);
            ++i;
            continue;
        }
        Token t;
        t.line = line;
        t.begin = i;
        if (c == u'(' || c == u')') {
            t.kind = c == u'(' ? Token::Kind::Open : Token::Kind::Close;
            t.text = c;
            ++i;
        } else if (c == u'"') {
            t.kind = Token::Kind::Quoted;
            ++i;
            while (i < n && text[i] != u'"') {
                if (text[i] == u'\\' && i + 1 < n)
                    ++i;
                t.text += text[i];
                ++i;
            }
            countLines(t.begin, i);
            if (i < n)
                ++i; // the closing quote
        } else {
            while (i < n && !isSpace(text[i]) && text[i] != u'(' && text[i] != u')' &&
                   text[i] != u'"')
                ++i;
            t.text = text.mid(t.begin, i - t.begin);
        }
        t.end = i;
        tokens.append(t);
    }
    return tokens;
}

bool isWord(const Token& t, QLatin1String word) {
    return t.kind == Token::Kind::Word && t.text.compare(word, Qt::CaseInsensitive) == 0;
}

bool opensBlock(const QList<Token>& tokens, qsizetype i) {
    return i + 1 < tokens.size() && tokens[i + 1].kind == Token::Kind::Open;
}

bool startsEntry(const QList<Token>& tokens, qsizetype i) {
    return isWord(tokens[i], QLatin1String("FreightAnim")) && opensBlock(tokens, i);
}

// The index just past the bracket that closes the one at `open`, or where the scan stops when
// the text ends first or, with `entryStart` given, where a later FreightAnim entry starts
// (then `closed` is set false). Stopping at the next entry keeps a text full of unclosed
// entries to one pass: each is read up to the next, never to the end of the text.
qsizetype pastBlock(const QList<Token>& tokens, qsizetype open, bool* closed = nullptr,
                    const std::function<bool(qsizetype)>& entryStart = {}) {
    int depth = 0;
    for (qsizetype i = open; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Kind::Open)
            ++depth;
        else if (tokens[i].kind == Token::Kind::Close && --depth == 0) {
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

QString entryText(const QString& text, const QList<Token>& tokens, qsizetype first,
                  qsizetype past) {
    const qsizetype end = past > first ? tokens[past - 1].end : tokens[first].end;
    return text.mid(tokens[first].begin, end - tokens[first].begin).simplified();
}

struct Entry {
    FreightAnim anim;
    double fullHeight = 0.0;
};

// One FreightAnim entry whose token is at `at` and whose bracket follows it. Sets `past` to
// the index after the entry.
std::optional<Entry> readEntry(const QString& text, const QList<Token>& tokens, qsizetype at,
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
    QList<const Token*> values;
    for (qsizetype i = at + 2; i < past - 1; ++i) {
        if (tokens[i].kind == Token::Kind::Open || tokens[i].kind == Token::Kind::Close)
            return fail(FreightAnimProblem::Reason::NestedBlock);
        values.append(&tokens[i]);
    }
    if (values.isEmpty() || values[0]->text.trimmed().isEmpty())
        return fail(FreightAnimProblem::Reason::NoShape);
    if (values.size() < 3)
        return fail(FreightAnimProblem::Reason::MissingNumbers);
    if (values.size() > 4)
        return fail(FreightAnimProblem::Reason::TooManyValues);
    double numbers[3] = {0, 0, 0};
    for (qsizetype k = 1; k < values.size(); ++k)
        if (values[k]->kind != Token::Kind::Word || !ParseDistance(values[k]->text, numbers[k - 1]))
            return fail(FreightAnimProblem::Reason::NotANumber);
    Entry entry;
    entry.anim.Shape = values[0]->text.trimmed();
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
    // most vehicles carry no load, and the scan need not tokenize their whole text. Words are
    // matched with full case folding, so a non-ASCII character may stand for a letter of it.
    if (FindAsciiWord(definitionText, u"freightanim", 0, NonAscii::MayMatch) < 0)
        return reading;
    const QList<Token> tokens = tokenize(definitionText);
    QList<Entry> entries;
    std::optional<QString> type;
    qsizetype readCount = 0;
    int depth = 0;
    qsizetype i = 0;
    while (i < tokens.size()) {
        const Token& t = tokens[i];
        if ((isWord(t, QLatin1String("comment")) || isWord(t, QLatin1String("skip"))) &&
            opensBlock(tokens, i)) {
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
        if (depth == 1 && !type && isWord(t, QLatin1String("Type")) && opensBlock(tokens, i) &&
            i + 3 < tokens.size() && tokens[i + 3].kind == Token::Kind::Close)
            type = tokens[i + 2].text;
        if (t.kind == Token::Kind::Open)
            ++depth;
        else if (t.kind == Token::Kind::Close && depth > 0)
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
