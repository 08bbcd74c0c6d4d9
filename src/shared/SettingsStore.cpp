#include "shared/SettingsStore.h"

#include "platform/FileSystem.h"
#include "shared/WineRegistry.h"

#include <QDir>
#include <QIODevice>
#include <QSettings>

namespace app {

namespace {

// The INI layout is our own rather than QSettings' native one, so that a hand-written
// `[SOFTWARE\Microsoft\...]` section and a value holding backslashes or commas
// (`Path=C:\Jeux\Train Simulator, old`) read exactly as written. A value is quoted, with
// C-like escapes, only when it could not survive unquoted.

bool needsQuotes(const QString& value) {
    if (value.isEmpty())
        return false;
    if (value.front().isSpace() || value.back().isSpace() || value.front() == u'"')
        return true;
    for (QChar c : value) {
        if (c.unicode() < 32)
            return true;
    }
    return false;
}

QString quote(const QString& value) {
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case 0:
            out += QStringLiteral("\\0");
            break;
        default:
            if (c.unicode() < 32)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

// A value as written in the file: quoted with escapes, or taken as it stands.
QString unquote(const QString& raw) {
    if (raw.size() < 2 || raw.front() != u'"' || raw.back() != u'"')
        return raw;
    QString out;
    for (qsizetype i = 1; i < raw.size() - 1; ++i) {
        const QChar c = raw[i];
        if (c != u'\\' || i + 1 >= raw.size() - 1) {
            out += c;
            continue;
        }
        const QChar e = raw[++i];
        switch (e.unicode()) {
        case 'n':
            out += QChar(10);
            break;
        case 'r':
            out += QChar(13);
            break;
        case 't':
            out += QChar(9);
            break;
        case '0':
            out += QChar(0);
            break;
        case 'x': {
            bool ok = false;
            const int code = raw.mid(i + 1, 2).toInt(&ok, 16);
            if (ok && i + 2 < raw.size() - 1) {
                out += QChar(char16_t(code));
                i += 2;
            } else {
                out += e;
            }
            break;
        }
        case '\\':
        case '"':
            out += e;
            break;
        default:
            // A hand-quoted Windows path ("C:\MSTS") keeps its backslashes.
            out += c;
            out += e;
        }
    }
    return out;
}

bool readIni(QIODevice& device, QSettings::SettingsMap& map) {
    if (device.size() > SettingsStore::MaxIniBytes)
        return false;
    const QByteArray bytes = device.read(SettingsStore::MaxIniBytes + 1);
    if (bytes.size() > SettingsStore::MaxIniBytes)
        return false;
    QString section;
    for (const QByteArray& rawLine : bytes.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.lastIndexOf(u']');
            section = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || section.isEmpty())
            continue;
        const QString name = line.left(equals).trimmed();
        map.insert(section + u'/' + name, unquote(line.mid(equals + 1).trimmed()));
    }
    return true;
}

bool writeIni(QIODevice& device, const QSettings::SettingsMap& map) {
    QString out;
    QString section;
    bool first = true;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(u'/');
        if (slash <= 0)
            continue;
        const QString keySection = it.key().left(slash);
        if (first || keySection != section) {
            if (!first)
                out += u'\n';
            out += u'[' + keySection + QStringLiteral("]\n");
            section = keySection;
            first = false;
        }
        const QString value = it.value().toString();
        out += it.key().mid(slash + 1) + u'=' + (needsQuotes(value) ? quote(value) : value) + u'\n';
    }
    const QByteArray bytes = out.toUtf8();
    return device.write(bytes) == bytes.size();
}

QSettings::Format iniFormat() {
    // Registered once for the process; the format itself holds no state.
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), readIni, writeIni);
    return format;
}

// The QSettings key of a registry value: the key's backslashes stay, a slash separates
// the value name.
QString settingsKey(const QString& key, const QString& valueName) {
    return key + u'/' + valueName;
}

// The registry answers through a 1024-byte buffer: a text of up to 1023 characters and
// its terminator fits; one stored with its own final NUL loses it.
QString throughBuffer(QString raw) {
    const bool terminated = raw.endsWith(QChar(0));
    const qsizetype bytes = terminated ? raw.size() : raw.size() + 1;
    if (bytes > SettingsStore::MaxValueLength + 1)
        return {};
    if (terminated)
        raw.chop(1);
    return raw;
}

bool isOwnKey(const QString& key) {
    const QString own = QString::fromUtf16(PictelleSettingsKey);
    return QString::compare(key, own, Qt::CaseInsensitive) == 0 ||
           key.startsWith(own + u'\\', Qt::CaseInsensitive);
}

} // namespace

SettingsStore::Locations SettingsStore::defaultLocations() {
    Locations l;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    l.iniFile = config + QStringLiteral("/Pictelle/registry.ini");
    l.wineRegistry = platform::FileSystem::winePrefix() + QStringLiteral("/system.reg");
    return l;
}

SettingsStore::SettingsStore(Locations locations, const platform::FileSystem& files)
    : locations_(std::move(locations)), files_(files) {}

namespace {

// Names compare without regard to case, as registry names do; QSettings compares them
// exactly, so the spelling already in the file is looked up first.
QString storedKey(const QSettings& ini, const QString& wanted) {
    for (const QString& key : ini.allKeys()) {
        if (QString::compare(key, wanted, Qt::CaseInsensitive) == 0)
            return key;
    }
    return {};
}

} // namespace

bool SettingsStore::iniUsable() const {
    if (locations_.iniFile.isEmpty())
        return false;
    // Missing, it is created. A file that exists but cannot be read whole is left alone:
    // rewriting it from what could be read would lose the rest. Anything but a regular file
    // (a named pipe, a device) is never opened: reading it could block for ever.
    if (files_.resolve(locations_.iniFile).isEmpty())
        return true;
    return files_.isFile(locations_.iniFile) &&
           files_.readFile(locations_.iniFile, MaxIniBytes).has_value();
}

QString SettingsStore::ReadSetting(SettingsRoot, const QString& key,
                                   const QString& valueName) const {
    if (key.isEmpty())
        return {};
    if (iniUsable()) {
        const QSettings ini(locations_.iniFile, iniFormat());
        const QString stored = storedKey(ini, settingsKey(key, valueName));
        if (ini.status() == QSettings::NoError && !stored.isEmpty()) {
            const QString value = throughBuffer(ini.value(stored).toString());
            if (!value.isEmpty())
                return value;
        }
    }
    // The program's own key lives in the INI file only, so that forgetting it is final.
    if (isOwnKey(key))
        return {};
    return readWineRegistry(key, valueName);
}

QString SettingsStore::readWineRegistry(const QString& key, const QString& valueName) const {
    const std::optional<QByteArray> bytes =
        ReadWineRegistryFile(files_, locations_.wineRegistry, locations_.maxWineRegistryBytes);
    if (!bytes)
        return {};
    for (const QString& view : WineRegistryViews(key)) {
        const std::optional<QString> found = FindWineRegistryText(*bytes, view, valueName);
        if (!found)
            continue;
        const QString text = throughBuffer(*found);
        if (text.isEmpty())
            return {};
        return platform::FileSystem::isDrivePath(text) ? files_.mapDrivePath(text) : text;
    }
    return {};
}

void SettingsStore::WriteSetting(SettingsRoot, const QString& key, const QString& valueName,
                                 const QString& text) {
    if (key.isEmpty() || !iniUsable())
        return;
    QSettings ini(locations_.iniFile, iniFormat());
    if (ini.status() != QSettings::NoError)
        return;
    const QString wanted = settingsKey(key, valueName);
    const QString stored = storedKey(ini, wanted);
    ini.setValue(stored.isEmpty() ? wanted : stored, text);
    ini.sync();
}

void SettingsStore::ClearSettingKey(SettingsRoot, const QString& key, const QString& valueName) {
    if (key.isEmpty() || !iniUsable())
        return;
    QSettings ini(locations_.iniFile, iniFormat());
    if (ini.status() != QSettings::NoError)
        return;
    const QString stored = storedKey(ini, settingsKey(key, valueName));
    if (!stored.isEmpty())
        ini.setValue(stored, QString());
    // Every value of the key goes, whatever the spelling of the key in the file.
    for (const QString& name : ini.allKeys()) {
        const qsizetype slash = name.lastIndexOf(u'/');
        if (slash > 0 && QString::compare(name.left(slash), key, Qt::CaseInsensitive) == 0)
            ini.remove(name);
    }
    ini.sync();
}

} // namespace app
