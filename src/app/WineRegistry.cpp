#include "app/WineRegistry.h"

#include <cstring>

namespace app {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Parses an escaped text that starts at `pos` and ends at an unescaped `delimiter`. On
// success `pos` is just past the delimiter. Bytes that are not escapes are UTF-8.
std::optional<QString> parseEscaped(const char* line, qsizetype size, qsizetype& pos,
                                    char delimiter) {
    QString out;
    QByteArray plain; // run of unescaped bytes, decoded together so UTF-8 stays whole
    auto flush = [&] {
        if (!plain.isEmpty()) {
            out += QString::fromUtf8(plain);
            plain.clear();
        }
    };
    while (pos < size) {
        const char c = line[pos++];
        if (c == delimiter) {
            flush();
            return out;
        }
        if (c != '\\') {
            plain += c;
            continue;
        }
        if (pos >= size)
            return std::nullopt;
        const char e = line[pos++];
        flush();
        switch (e) {
        case 'a':
            out += QChar(7);
            break;
        case 'b':
            out += QChar(8);
            break;
        case 't':
            out += QChar(9);
            break;
        case 'n':
            out += QChar(10);
            break;
        case 'v':
            out += QChar(11);
            break;
        case 'f':
            out += QChar(12);
            break;
        case 'r':
            out += QChar(13);
            break;
        case 'e':
            out += QChar(27);
            break;
        case 'x': {
            int value = 0;
            int digits = 0;
            while (digits < 4 && pos < size && hexValue(line[pos]) >= 0) {
                value = value * 16 + hexValue(line[pos++]);
                ++digits;
            }
            if (digits == 0)
                out += QLatin1Char('x');
            else
                out += QChar(char16_t(value));
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0';
                for (int digits = 1;
                     digits < 3 && pos < size && line[pos] >= '0' && line[pos] <= '7'; ++digits)
                    value = value * 8 + (line[pos++] - '0');
                out += QChar(char16_t(value));
            } else {
                plain += e; // "\\", "\"", "\]" and unknown escapes stand for the byte itself
            }
        }
    }
    return std::nullopt; // no closing delimiter on this line
}

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<QString> FindWineRegistryText(const QByteArray& file, const QString& key,
                                            const QString& valueName) {
    const char* data = file.constData();
    const qsizetype total = file.size();
    bool inKey = false;
    qsizetype start = 0;
    while (start < total) {
        const void* nl = std::memchr(data + start, '\n', size_t(total - start));
        const qsizetype end = nl ? static_cast<const char*>(nl) - data : total;
        const char* line = data + start;
        qsizetype size = end - start;
        start = end + 1;

        if (size > 0 && line[size - 1] == '\r')
            --size;
        qsizetype pos = 0;
        while (pos < size && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= size)
            continue;

        if (line[pos] == '[') {
            ++pos;
            const std::optional<QString> name = parseEscaped(line, size, pos, ']');
            inKey = name && sameName(*name, key);
            continue;
        }
        if (!inKey)
            continue;

        std::optional<QString> name;
        if (line[pos] == '@') {
            name = QString(); // the key's default value
            ++pos;
        } else if (line[pos] == '"') {
            ++pos;
            name = parseEscaped(line, size, pos, '"');
        }
        if (!name || !sameName(*name, valueName))
            continue;
        if (pos >= size || line[pos] != '=')
            continue;
        ++pos;
        if (pos >= size || line[pos] != '"')
            return std::nullopt; // the value exists but is not a plain text
        ++pos;
        return parseEscaped(line, size, pos, '"');
    }
    return std::nullopt;
}

} // namespace app
