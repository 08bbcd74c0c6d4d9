#pragma once

// Reading text values out of a Wine prefix's registry file (system.reg).
//
// The file is plain text: a header line, then one section per key,
// `[Software\\Microsoft\\Windows\\CurrentVersion] 1700000000`, followed by its values,
// `"ProgramFilesDir"="C:\\Program Files"`. Names and texts are quoted with C-like escapes:
// `\\`, `\"`, `\n` and friends, `\xHHHH` (one to four hex digits) for characters outside
// ASCII and octal `\NNN`. Other value kinds (`dword:`, `hex(...):`, `str(2):"..."`) are not
// plain texts and are skipped. Key and value names compare without regard to case, as in
// the Windows registry.
//
// The reader is tolerant: a line it cannot parse is skipped, so a damaged file yields what
// can still be read and never more than one pass over its bytes.

#include <QByteArray>
#include <QString>

#include <optional>

namespace app {

// The text of value `valueName` of key `key` ("Software\Microsoft\Windows\CurrentVersion",
// single backslashes) in the bytes of a Wine registry file; nothing when the key or the
// value is absent or the value is not a quoted text.
std::optional<QString> FindWineRegistryText(const QByteArray& file, const QString& key,
                                            const QString& valueName);

} // namespace app
