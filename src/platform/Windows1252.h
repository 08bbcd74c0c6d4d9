#pragma once

// Windows-1252 for file names and texts held as QString; the table itself is msts's.
// Bytes 0x80-0x9F differ from Latin-1; the five the code page leaves undefined keep their
// value (U+0081...), so every byte has a character and every such character its byte.

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

QString DecodeWindows1252(const QByteArray& bytes);
// The bytes of a text in Windows-1252; nothing when a character has no byte there.
std::optional<QByteArray> EncodeWindows1252(const QString& text);

} // namespace platform
