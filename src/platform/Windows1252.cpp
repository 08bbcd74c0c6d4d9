#include "platform/Windows1252.h"

#include "msts/Windows1252.h"

namespace platform {

QString DecodeWindows1252(const QByteArray& bytes) {
    // Latin-1 but for 0x80-0x9F: the library's fast conversion, then those few mended.
    QString text = QString::fromLatin1(bytes);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (out[i] >= 0x80 && out[i] < 0xA0)
            out[i] = msts::Windows1252ToUnicode(static_cast<unsigned char>(out[i]));
    return text;
}

std::optional<QByteArray> EncodeWindows1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(char(u));
            continue;
        }
        int found = -1;
        for (int b = 0x80; b < 0xA0 && found < 0; ++b)
            if (msts::Windows1252ToUnicode(static_cast<unsigned char>(b)) == u)
                found = b;
        if (found < 0)
            return std::nullopt;
        bytes.append(char(found));
    }
    return bytes;
}

} // namespace platform
