#include "catalog/VehicleFile.h"

#include "catalog/TextSearch.h"

#include "platform/FileSystem.h"
#include "platform/Windows1252.h"

#include <QSysInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace catalog {

namespace {

const QString shapeToken = QStringLiteral("WagonShape");
const QString sizeToken = QStringLiteral("Size");

// Larger definition files are not vehicles; refusing them keeps a stray file from
// exhausting memory.
constexpr qint64 maxDefinitionBytes = 64 * 1024 * 1024;

constexpr double feetPerMetre = 3.28;

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The raw value of a line when it has its first "(" before its first ")".
bool bracketedValue(QStringView line, QString& rawValue) {
    const qsizetype open = line.indexOf(u'(');
    if (open < 0)
        return false;
    const qsizetype close = line.indexOf(u')');
    if (close <= open)
        return false;
    rawValue = line.mid(open + 1, close - open).toString();
    return true;
}

// Walks the lines of a text (ended by CR, CR LF or LF) until the visitor returns false.
template <typename Visitor> void forEachLine(QStringView text, Visitor&& visit) {
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start <= size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (end == size && start == size && start != 0)
            return; // a final line end does not open another line
        if (!visit(text.mid(start, end - start)))
            return;
        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
}

bool isLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}

// The raw value of the first line holding a token that lies on one line: the token is looked
// for in the whole text, and only the lines it appears on are examined.
bool findOneLineTokenValue(QStringView text, const QString& token, QString& rawValue) {
    for (qsizetype from = 0;;) {
        const qsizetype at = FindAsciiWord(text, token, from);
        if (at < 0)
            return false;
        qsizetype start = at;
        while (start > 0 && !isLineEnd(text[start - 1]))
            --start;
        qsizetype end = at + token.size();
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        if (bracketedValue(text.mid(start, end - start), rawValue))
            return true;
        from = end;
    }
}

// Finds the raw values of several tokens; each token takes the first line that selects it.
template <std::size_t N>
void findTokenValues(const QString& text, const QString* const (&tokens)[N], QString* (&values)[N],
                     bool (&found)[N]) {
    const bool oneLine = std::all_of(std::begin(tokens), std::end(tokens), [](const QString* t) {
        return !t->isEmpty() && !t->contains(u'\r') && !t->contains(u'\n');
    });
    if (oneLine) {
        for (std::size_t i = 0; i < N; ++i)
            found[i] = findOneLineTokenValue(text, *tokens[i], *values[i]);
        return;
    }
    std::size_t remaining = N;
    for (std::size_t i = 0; i < N; ++i)
        found[i] = false;
    forEachLine(text, [&](QStringView line) {
        for (std::size_t i = 0; i < N; ++i) {
            if (found[i] || FindAsciiWord(line, *tokens[i]) < 0)
                continue;
            if (bracketedValue(line, *values[i])) {
                found[i] = true;
                --remaining;
            }
        }
        return remaining > 0;
    });
}

// The file layer reads regular files only, so a successful reading is also the test that
// the file can be opened (what FileExists answers); one trailing backslash is ignored alike.
std::optional<QString> readDefinitionText(const platform::FileSystem& fs, const QString& path) {
    const std::optional<QByteArray> bytes = fs.readFile(path, maxDefinitionBytes);
    if (!bytes)
        return std::nullopt;
    return DecodeDefinitionText(*bytes);
}

QString shapeFromRaw(QString raw) {
    StripValue(raw);
    return raw;
}

double lengthFromRaw(QString raw) {
    StripValue(raw);
    return LengthFromSizeValue(raw);
}

} // namespace

bool FileExists(const platform::FileSystem& fs, const QString& path) {
    QString copy = path;
    if (copy.endsWith(u'\\'))
        copy.chop(1);
    return !copy.isEmpty() && fs.canRead(copy);
}

UnreadableFile FindUnreadableFile(const platform::FileSystem& fs, const QString& definitionPath,
                                  const QString& folderPath) {
    if (!fs.isFile(definitionPath))
        return UnreadableFile::None;
    const VehicleValues values = ReadVehicleFile(fs, definitionPath);
    if (!values.readable)
        return UnreadableFile::Definition;
    if (values.shape.isEmpty())
        return UnreadableFile::None;
    const QString shapePath = folderPath + u'\\' + values.shape;
    if (fs.isFile(shapePath) && !FileExists(fs, shapePath))
        return UnreadableFile::Shape;
    return UnreadableFile::None;
}

VehicleValues ReadVehicleFile(const platform::FileSystem& fs, const QString& path) {
    const std::optional<QString> text = readDefinitionText(fs, path);
    return text ? ReadVehicleText(*text) : VehicleValues{};
}

VehicleValues ReadVehicleText(const QString& text) {
    VehicleValues result;
    result.readable = true;
    QString shapeRaw, sizeRaw;
    const QString* const tokens[2] = {&shapeToken, &sizeToken};
    QString* values[2] = {&shapeRaw, &sizeRaw};
    bool found[2];
    findTokenValues(text, tokens, values, found);
    if (found[0])
        result.shape = shapeFromRaw(shapeRaw);
    if (found[1])
        result.length = lengthFromRaw(sizeRaw);
    result.freight = ReadFreightAnims(text);
    return result;
}

void StripValue(QString& value) {
    const auto trimLeadingSpaces = [&value] {
        qsizetype n = 0;
        while (n < value.size() && value[n] == u' ')
            ++n;
        value.remove(0, n);
    };
    const auto trimTrailingSpaces = [&value] {
        qsizetype n = value.size();
        while (n > 0 && value[n - 1] == u' ')
            --n;
        value.truncate(n);
    };
    while (value.startsWith(u'\t')) {
        value.remove(0, 1);
        trimLeadingSpaces();
    }
    while (value.endsWith(u'\t')) {
        value.chop(1);
        trimTrailingSpaces();
    }
    trimLeadingSpaces();
    trimTrailingSpaces();
    if (value.startsWith(u'('))
        value.remove(0, 1);
    if (value.endsWith(u')'))
        value.chop(1);
    trimLeadingSpaces();
    trimTrailingSpaces();
    if (value.startsWith(u'"'))
        value.remove(0, 1);
    if (value.endsWith(u'"'))
        value.chop(1);
}

QString DecodeWindows1252(const QByteArray& bytes) {
    return platform::DecodeWindows1252(bytes);
}

QString DecodeDefinitionText(const QByteArray& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        const bool little = b[0] == 0xFF;
        // A stray last byte of an odd-sized file is no character.
        const qsizetype units = (size - 2) / 2;
        QString text(units, Qt::Uninitialized);
        char16_t* out = reinterpret_cast<char16_t*>(text.data());
        if (little && QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            std::memcpy(out, b + 2, static_cast<std::size_t>(units) * 2);
            return text;
        }
        for (qsizetype i = 0; i < units; ++i) {
            const unsigned char lo = b[2 + 2 * i + (little ? 0 : 1)];
            const unsigned char hi = b[2 + 2 * i + (little ? 1 : 0)];
            out[i] = static_cast<char16_t>(lo | (hi << 8));
        }
        return text;
    }
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return QString::fromUtf8(bytes.constData() + 3, size - 3);
    return DecodeWindows1252(bytes);
}

double LengthFromSizeValue(const QString& strippedValue) {
    // A value without a space is one word, and that word is the length.
    const qsizetype space = strippedValue.lastIndexOf(u' ');
    const QString word = strippedValue.mid(space + 1);
    double metres = LeadingNumber(word);
    if (word.contains(QLatin1String("ft"), Qt::CaseInsensitive))
        metres /= feetPerMetre;
    return metres;
}

double LeadingNumber(const QString& text) {
    // Blanks are skipped wherever they fall, as the number is being read.
    qsizetype pos = 0;
    const auto peek = [&]() -> QChar {
        while (pos < text.size() && isBlank(text[pos]))
            ++pos;
        return pos < text.size() ? text[pos] : QChar();
    };
    const auto isDigit = [](QChar c) {
        return c >= u'0' && c <= u'9';
    };

    std::string number;
    QChar c = peek();
    if (c == u'+' || c == u'-') {
        if (c == u'-')
            number += '-';
        ++pos;
        c = peek();
    }
    bool digits = false;
    while (isDigit(c)) {
        number += static_cast<char>(c.unicode());
        digits = true;
        ++pos;
        c = peek();
    }
    if (c == u'.') {
        number += '.';
        ++pos;
        c = peek();
        while (isDigit(c)) {
            number += static_cast<char>(c.unicode());
            digits = true;
            ++pos;
            c = peek();
        }
    }
    if (!digits)
        return 0.0;
    if (c == u'e' || c == u'E' || c == u'd' || c == u'D') {
        // The exponent counts only with at least one digit.
        const qsizetype mark = pos;
        std::string exponent = "e";
        ++pos;
        c = peek();
        if (c == u'+' || c == u'-') {
            exponent += static_cast<char>(c.unicode());
            ++pos;
            c = peek();
        }
        bool exponentDigits = false;
        while (isDigit(c)) {
            exponent += static_cast<char>(c.unicode());
            exponentDigits = true;
            ++pos;
            c = peek();
        }
        if (exponentDigits)
            number += exponent;
        else
            pos = mark;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return 0.0;
    return value;
}

} // namespace catalog
