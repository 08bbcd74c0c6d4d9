#pragma once

// Quick readers for the numbers that fill text shapes: `1.49278`, `-10`, `9.18485e-017`,
// `ff969696`. Each takes the plain spellings only and says false for anything else, which
// the caller then hands to std::from_chars; on the spellings it takes, it gives exactly what
// std::from_chars gives.
//
// A decimal with at most 7 significant digits' worth of mantissa (below 2^24) and a power
// of ten within 10^±10 is one exact float divided or multiplied by another exact float (5^10
// fits 24 bits). Done in double and then rounded to float, that is the correctly rounded
// float: double carries more than twice float's bits plus two, so rounding twice cannot
// differ from rounding once for a single operation.

#include <cstddef>
#include <cstdint>

namespace msts {

// `-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?` within the fast range above.
inline bool parsePlainFloat(const char* first, const char* last, float& out) {
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative)
        ++p;
    std::uint64_t mantissa = 0;
    const char* start = p;
    for (; p != last && static_cast<unsigned>(*p - '0') <= 9; ++p)
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    if (p == start)
        return false;
    int digits = static_cast<int>(p - start);
    int exponent = 0;
    if (p != last && *p == '.') {
        const char* fraction = ++p;
        for (; p != last && static_cast<unsigned>(*p - '0') <= 9; ++p)
            mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        if (p == fraction)
            return false;
        digits += static_cast<int>(p - fraction);
        exponent = -static_cast<int>(p - fraction);
    }
    if (digits > 18)
        return false; // the mantissa may have wrapped
    if (p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool down = p != last && *p == '-';
        if (p != last && (*p == '-' || *p == '+'))
            ++p;
        const char* power = p;
        int e = 0;
        for (; p != last && *p >= '0' && *p <= '9' && e < 1000; ++p)
            e = e * 10 + (*p - '0');
        if (p == power)
            return false;
        exponent += down ? -e : e;
    }
    if (p != last || mantissa >= (std::uint64_t{1} << 24) || exponent < -10 || exponent > 10)
        return false;
    static constexpr double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    const double m = static_cast<double>(mantissa);
    double v = exponent < 0 ? m / powers[-exponent] : m * powers[exponent];
    if (negative)
        v = -v;
    out = static_cast<float>(v);
    return true;
}

// `-?[0-9]{1,18}`, any value; the caller checks the range.
inline bool parsePlainInteger(const char* first, const char* last, std::int64_t& out) {
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative)
        ++p;
    if (p == last || last - p > 18)
        return false;
    std::int64_t v = 0;
    for (; p != last; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + (*p - '0');
    }
    out = negative ? -v : v;
    return true;
}

// One to eight hexadecimal digits.
inline bool parsePlainHex(const char* first, const char* last, std::uint32_t& out) {
    if (first == last || last - first > 8)
        return false;
    std::uint32_t v = 0;
    for (const char* p = first; p != last; ++p) {
        const char c = *p;
        std::uint32_t d;
        if (c >= '0' && c <= '9')
            d = std::uint32_t(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = std::uint32_t(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = std::uint32_t(c - 'A' + 10);
        else
            return false;
        v = v << 4 | d;
    }
    out = v;
    return true;
}

} // namespace msts
