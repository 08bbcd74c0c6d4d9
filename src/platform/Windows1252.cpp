#include "platform/Windows1252.h"

#include "msts/Windows1252.h"

namespace platform {

QString DecodeWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(msts::Windows1252ToUnicode(static_cast<unsigned char>(bytes[i])));
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
