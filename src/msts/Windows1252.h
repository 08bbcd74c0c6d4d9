#pragma once

// Windows-1252, the code page of the simulator's 8-bit text files: Latin-1 except for bytes
// 0x80-0x9F, which mostly hold typographic signs. The five bytes it leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same number, as Windows
// itself decodes them.

namespace msts {

// The UTF-16 code unit of one byte.
constexpr char16_t Windows1252ToUnicode(unsigned char byte) {
    constexpr char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : char16_t(byte);
}

} // namespace msts
