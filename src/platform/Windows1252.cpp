#include "platform/Windows1252.h"

namespace platform {

namespace {

// 0 marks the five bytes the code page leaves undefined.
constexpr char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                               0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 && u <= 0x9F && high[u - 0x80] != 0)
            c = QChar(high[u - 0x80]);
    }
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
        for (int i = 0; i < 32 && found < 0; ++i) {
            if (high[i] == u || (high[i] == 0 && u == 0x80 + i))
                found = 0x80 + i;
        }
        if (found < 0)
            return std::nullopt;
        bytes.append(char(found));
    }
    return bytes;
}

} // namespace platform
