#pragma once

// Reading values out of a Wine prefix's registry file (system.reg).
//
// The file is plain text: a header line, then one section per key,
// `[Software\\Microsoft\\Windows\\CurrentVersion] 1700000000`, followed by its values,
// `"ProgramFilesDir"="C:\\Program Files"`. Names and texts are quoted with C-like escapes:
// `\\`, `\"`, `\n` and friends, `\xHHHH` (one to four hex digits) for characters outside
// ASCII and octal `\NNN`. Other value kinds are `str(N):"..."` (a text of type N),
// `dword:hhhhhhhh` and `hex:bytes` or `hex(N):bytes`, whose byte lists run on over lines
// ending with a backslash. Key and value names compare without regard to case, as in the
// Windows registry; leading and trailing backslashes of key names do not count.
//
// The reader is tolerant: a line it cannot parse is skipped, so a damaged file yields what
// can still be read and never more than one pass over its bytes.
//
// A 32-bit program on a 64-bit prefix sees the keys under SOFTWARE through the
// SOFTWARE\Wow6432Node view first; WineRegistryViews gives the keys to look in, in order.
// Every reader of the prefix's registry (the settings store, the about box's system
// information lookup) goes through this file.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace platform {
class FileSystem;
}

namespace app {

// A larger registry file is not read.
inline constexpr qint64 MaxWineRegistryBytes = 64 * 1024 * 1024;
// A value whose data, run-on lines joined, is longer than this many bytes of text reads as
// absent: the program reads paths of at most 1023 characters, and a run-on byte list of a
// damaged file must not be held (and split) whole.
inline constexpr qsizetype MaxWineRegistryValueBytes = 64 * 1024;

struct WineRegistryValue {
    enum class Form { Quoted, Str, Dword, Hex };
    Form form = Form::Quoted;
    quint32 type = 1; // 1 text, 2 expandable text, 3 bytes, 4 number, or N of str(N)/hex(N)
    QString text;     // quoted and str(N) texts; for hex data of type 1, its UTF-16 text
    QByteArray bytes; // hex data
};

// The value `valueName` of key `key` ("Software\Microsoft\Windows\CurrentVersion",
// single backslashes; an empty name is the default value "@"). Nothing when the key or the
// value is absent, its data cannot be read or is longer than MaxWineRegistryValueBytes; the
// first line naming the value decides.
std::optional<WineRegistryValue> ReadWineRegistryValue(const QByteArray& file, const QString& key,
                                                       const QString& valueName);

// The text of value `valueName` of key `key` ("Software\Microsoft\Windows\CurrentVersion",
// single backslashes) in the bytes of a Wine registry file; nothing when the key or the
// value is absent or the value is not a quoted text.
std::optional<QString> FindWineRegistryText(const QByteArray& file, const QString& key,
                                            const QString& valueName);

// The key without leading or trailing backslashes, as the file names it.
QString NormaliseWineRegistryKey(QString key);

// The keys a 32-bit program reads `key` through, in order: for a key under SOFTWARE its
// SOFTWARE\Wow6432Node view, then the key itself. Both normalised.
QStringList WineRegistryViews(const QString& key);

// The bytes of the registry file at `path` (a native path) through the file layer; nothing
// when the path is empty, the file is absent or unreadable, or larger than `maxBytes`.
std::optional<QByteArray> ReadWineRegistryFile(const platform::FileSystem& files,
                                               const QString& path,
                                               qint64 maxBytes = MaxWineRegistryBytes);

} // namespace app
