#include "shared/WineRegistry.h"

#include "platform/FileSystem.h"

#include <QByteArrayList>

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

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool parseHexBytes(const QByteArray& text, QByteArray& bytes) {
    bytes.clear();
    for (const QByteArray& part : text.split(',')) {
        if (part.isEmpty())
            continue;
        bool ok = false;
        const uint v = part.trimmed().toUInt(&ok, 16);
        if (!ok || v > 0xFF)
            return false;
        bytes.append(static_cast<char>(v));
    }
    return true;
}

// A text value stored as bytes: UTF-16 little-endian, as Wine keeps them.
QString textFromUtf16(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(static_cast<ushort>(static_cast<uchar>(bytes[i]) |
                                          (static_cast<uchar>(bytes[i + 1]) << 8)));
    if (!text.isEmpty() && text.back() == QChar(0))
        text.chop(1);
    return text;
}

// The data after "name=", with any run-on lines already joined and blanks trimmed.
std::optional<WineRegistryValue> readData(const QByteArray& data) {
    WineRegistryValue value;
    if (data.startsWith('"')) {
        qsizetype pos = 1;
        std::optional<QString> text = parseEscaped(data.constData(), data.size(), pos, '"');
        if (!text)
            return std::nullopt;
        value.text = *text;
        return value;
    }
    if (data.startsWith("str(")) {
        const qsizetype close = data.indexOf("):\"");
        if (close < 0)
            return std::nullopt;
        qsizetype pos = close + 3;
        std::optional<QString> text = parseEscaped(data.constData(), data.size(), pos, '"');
        if (!text)
            return std::nullopt;
        value.form = WineRegistryValue::Form::Str;
        value.type = data.mid(4, close - 4).toUInt();
        value.text = *text;
        return value;
    }
    if (data.startsWith("dword:")) {
        value.form = WineRegistryValue::Form::Dword;
        value.type = 4;
        return value;
    }
    if (data.startsWith("hex")) {
        const qsizetype colon = data.indexOf(':');
        if (colon < 0)
            return std::nullopt;
        value.form = WineRegistryValue::Form::Hex;
        value.type = 3;
        if (data.startsWith("hex(")) {
            bool ok = false;
            value.type = data.mid(4, data.indexOf(')') - 4).toUInt(&ok, 16);
            if (!ok)
                return std::nullopt;
        }
        if (!parseHexBytes(data.mid(colon + 1), value.bytes))
            return std::nullopt;
        if (value.type == 1)
            value.text = textFromUtf16(value.bytes);
        return value;
    }
    return std::nullopt;
}

} // namespace

std::optional<WineRegistryValue> ReadWineRegistryValue(const QByteArray& file, const QString& key,
                                                       const QString& valueName) {
    const QString wantedKey = NormaliseWineRegistryKey(key);
    const char* data = file.constData();
    const qsizetype total = file.size();
    qsizetype start = 0;
    // The next line without its end, or false at the end of the file.
    auto nextLine = [&](const char*& line, qsizetype& size) {
        if (start >= total)
            return false;
        const void* nl = std::memchr(data + start, '\n', size_t(total - start));
        const qsizetype end = nl ? static_cast<const char*>(nl) - data : total;
        line = data + start;
        size = end - start;
        start = end + 1;
        if (size > 0 && line[size - 1] == '\r')
            --size;
        return true;
    };

    bool inKey = false;
    const char* line = nullptr;
    qsizetype size = 0;
    while (nextLine(line, size)) {
        qsizetype pos = 0;
        while (pos < size && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= size)
            continue;

        if (line[pos] == '[') {
            ++pos;
            const std::optional<QString> name = parseEscaped(line, size, pos, ']');
            inKey = name && sameName(NormaliseWineRegistryKey(*name), wantedKey);
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

        QByteArray value(line + pos, size - pos);
        if (value.size() > MaxWineRegistryValueBytes)
            return std::nullopt;
        // Only byte lists run on; a text line ending with a backslash is merely unclosed.
        if (value.trimmed().startsWith("hex")) {
            const char* more = nullptr;
            qsizetype moreSize = 0;
            bool tooLong = false;
            while (value.endsWith('\\') && nextLine(more, moreSize)) {
                value.chop(1);
                qsizetype from = 0;
                while (from < moreSize && isBlank(more[from]))
                    ++from;
                while (moreSize > from && isBlank(more[moreSize - 1]))
                    --moreSize;
                // Past the limit the rest of the value is only walked over, not kept.
                tooLong = tooLong || value.size() + (moreSize - from) > MaxWineRegistryValueBytes;
                if (tooLong)
                    value = moreSize > from && more[moreSize - 1] == '\\' ? "\\" : "";
                else
                    value.append(more + from, moreSize - from);
            }
            if (tooLong)
                return std::nullopt;
        }
        return readData(value.trimmed());
    }
    return std::nullopt;
}

std::optional<QString> FindWineRegistryText(const QByteArray& file, const QString& key,
                                            const QString& valueName) {
    const std::optional<WineRegistryValue> value = ReadWineRegistryValue(file, key, valueName);
    if (!value || value->form != WineRegistryValue::Form::Quoted)
        return std::nullopt; // absent, or not a plain text
    return value->text;
}

QString NormaliseWineRegistryKey(QString key) {
    while (key.startsWith(u'\\'))
        key.remove(0, 1);
    while (key.endsWith(u'\\'))
        key.chop(1);
    return key;
}

QStringList WineRegistryViews(const QString& key) {
    const QString normal = NormaliseWineRegistryKey(key);
    const QString software = QStringLiteral("SOFTWARE\\");
    if (!normal.startsWith(software, Qt::CaseInsensitive))
        return {normal};
    return {normal.left(software.size()) + QStringLiteral("Wow6432Node\\") +
                normal.mid(software.size()),
            normal};
}

std::optional<QByteArray> ReadWineRegistryFile(const platform::FileSystem& files,
                                               const QString& path, qint64 maxBytes) {
    if (path.isEmpty())
        return std::nullopt;
    return files.readFile(path, maxBytes);
}

} // namespace app
