#include "dialogs/SystemInformation.h"

#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace dialogs {

namespace {

// The tool reads values through a buffer of this many bytes; a longer value is not read.
constexpr qsizetype ReadBufferBytes = 1024;

const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Reads an escaped text from `from` up to the unescaped `end` character; returns the index
// after it, or -1 when the text is not closed.
qsizetype unescape(const QString& line, qsizetype from, QChar end, QString& out) {
    out.clear();
    qsizetype i = from;
    while (i < line.size()) {
        const QChar c = line.at(i);
        if (c == end)
            return i + 1;
        if (c != u'\\' || i + 1 >= line.size()) {
            out += c;
            ++i;
            continue;
        }
        const QChar e = line.at(i + 1);
        i += 2;
        switch (e.unicode()) {
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case 'a':
            out += QChar(7);
            break;
        case 'b':
            out += QChar(8);
            break;
        case 'e':
            out += QChar(27);
            break;
        case 'f':
            out += QChar(12);
            break;
        case 'v':
            out += QChar(11);
            break;
        case 'x': {
            ushort v = 0;
            int n = 0;
            while (n < 4 && i < line.size() && isHexDigit(line.at(i))) {
                v = static_cast<ushort>(v * 16 + QString(line.at(i)).toUShort(nullptr, 16));
                ++i;
                ++n;
            }
            out += QChar(v);
            break;
        }
        default:
            if (e >= u'0' && e <= u'7') {
                ushort v = static_cast<ushort>(e.unicode() - '0');
                int n = 1;
                while (n < 3 && i < line.size() && line.at(i) >= u'0' && line.at(i) <= u'7') {
                    v = static_cast<ushort>(v * 8 + (line.at(i).unicode() - '0'));
                    ++i;
                    ++n;
                }
                out += QChar(v);
            } else {
                out += e;
            }
        }
    }
    return -1;
}

QString normaliseKey(QString key) {
    while (key.startsWith(u'\\'))
        key.remove(0, 1);
    while (key.endsWith(u'\\'))
        key.chop(1);
    return key;
}

bool parseHexBytes(const QString& text, QByteArray& bytes) {
    bytes.clear();
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
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

SystemValue readData(const QString& data) {
    SystemValue value;
    if (data.startsWith(u'"')) {
        QString text;
        if (unescape(data, 1, u'"', text) < 0)
            return value;
        // Its ANSI bytes and the terminator must fit the buffer.
        if (text.toLocal8Bit().size() + 1 > ReadBufferBytes)
            return value;
        return {true, 1, text};
    }
    if (data.startsWith(QLatin1String("str("))) {
        const qsizetype close = data.indexOf(QLatin1String("):\""));
        if (close < 0)
            return value;
        const uint type = data.mid(4, close - 4).toUInt();
        QString text;
        if (unescape(data, close + 3, u'"', text) < 0 || text.size() * 2 + 2 > ReadBufferBytes)
            return value;
        return {true, type, type == 1 ? text : QString()};
    }
    if (data.startsWith(QLatin1String("dword:")))
        return {true, 4, {}};
    if (data.startsWith(QLatin1String("hex"))) {
        uint type = 3;
        qsizetype colon = data.indexOf(u':');
        if (colon < 0)
            return value;
        if (data.startsWith(QLatin1String("hex("))) {
            bool ok = false;
            type = data.mid(4, data.indexOf(u')') - 4).toUInt(&ok, 16);
            if (!ok)
                return value;
        }
        QByteArray bytes;
        if (!parseHexBytes(data.mid(colon + 1), bytes) || bytes.size() > ReadBufferBytes)
            return value;
        return {true, type, type == 1 ? textFromUtf16(bytes) : QString()};
    }
    return value;
}

bool isWindowsProgram(const QString& path) {
    return path.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive) ||
           (path.size() >= 2 && path.at(1) == u':');
}

} // namespace

SystemValue ReadSystemValue(const QByteArray& registryFile, const QString& key,
                            const QString& valueName) {
    const QString wantedKey = normaliseKey(key);
    const QStringList lines = QString::fromUtf8(registryFile).split(u'\n');
    bool inKey = false;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(u'[')) {
            QString name;
            inKey = unescape(line, 1, u']', name) >= 0 &&
                    QString::compare(normaliseKey(name), wantedKey, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inKey)
            continue;
        QString name;
        qsizetype at = -1;
        if (line.startsWith(QLatin1String("@=")))
            at = 1;
        else if (line.startsWith(u'"'))
            at = unescape(line, 1, u'"', name);
        if (at < 0 || at >= line.size() || line.at(at) != u'=')
            continue;
        const bool wanted = valueName.isEmpty() || valueName == QLatin1String("@")
                                ? line.startsWith(u'@') || name.isEmpty()
                                : QString::compare(name, valueName, Qt::CaseInsensitive) == 0;
        if (!wanted)
            continue;
        QString data = line.mid(at + 1);
        // Byte lists run on over lines that end with a backslash.
        while (data.endsWith(u'\\') && n + 1 < lines.size()) {
            data.chop(1);
            data += lines[++n].trimmed();
        }
        return readData(data.trimmed());
    }
    return {};
}

SystemValue ReadSystemValue(const platform::FileSystem& fs, const QString& registryFile,
                            const QString& key, const QString& valueName) {
    if (registryFile.isEmpty())
        return {};
    const std::optional<QByteArray> bytes = fs.readFile(registryFile, 64 * 1024 * 1024);
    if (!bytes)
        return {};
    QString key32 = normaliseKey(key);
    if (key32.startsWith(QLatin1String("SOFTWARE\\"), Qt::CaseInsensitive)) {
        key32.insert(9, QStringLiteral("Wow6432Node\\"));
        const SystemValue value = ReadSystemValue(*bytes, key32, valueName);
        if (value.found)
            return value;
    }
    return ReadSystemValue(*bytes, key, valueName);
}

QString FindSystemInformationProgram(const SystemInformationTools& tools) {
    if (!tools.readSystemValue)
        return {};
    const SystemValue tool = tools.readSystemValue(ToolKey, QStringLiteral("PATH"));
    if (tool.found)
        return tool.type == 1 ? tool.text : QString();
    const SystemValue folder = tools.readSystemValue(LocationKey, QStringLiteral("MSINFO"));
    if (!folder.found || folder.type != 1)
        return {};
    const QString program = folder.text + QStringLiteral("\\MSINFO32.EXE");
    return tools.fileExists && tools.fileExists(program) ? program : QString();
}

bool StartSystemInformation(const SystemInformationTools& tools) {
    const QString program = FindSystemInformationProgram(tools);
    return !program.isEmpty() && tools.startProgram && tools.startProgram(program);
}

SystemInformationTools SystemInformationToolsFor(const platform::FileSystem& fs,
                                                 const QString& registryFile) {
    SystemInformationTools tools;
    tools.readSystemValue = [&fs, registryFile](const QString& key, const QString& valueName) {
        return ReadSystemValue(fs, registryFile, key, valueName);
    };
    tools.fileExists = [&fs](const QString& path) {
        return fs.isFile(path);
    };
    tools.startProgram = [&fs](const QString& path) {
        // A detached start succeeds even for a missing program, so look for it first.
        const QString native = fs.resolve(path);
        if (native.isEmpty() || !QFileInfo(native).isFile())
            return false;
        if (isWindowsProgram(path))
            return QProcess::startDetached(QStringLiteral("wine"), {native});
        return QProcess::startDetached(native, {});
    };
    return tools;
}

} // namespace dialogs
