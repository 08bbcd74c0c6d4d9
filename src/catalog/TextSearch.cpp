#include "catalog/TextSearch.h"

#include <QVarLengthArray>

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace catalog {

namespace {

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

char16_t asciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
}

} // namespace

qsizetype FindAsciiWord(QStringView text, QStringView word, qsizetype from) {
    const qsizetype n = word.size();
    const qsizetype size = text.size();
    if (from < 0)
        from = 0;
    if (n == 0)
        return from <= size ? from : -1;
    QVarLengthArray<char16_t, 32> lower(n);
    for (qsizetype k = 0; k < n; ++k)
        lower[k] = asciiLower(word[k].unicode());
    const char16_t* chars = text.utf16();
    const auto matchesAt = [&](qsizetype i) {
        for (qsizetype k = 0; k < n; ++k) {
            const char16_t c = chars[i + k];
            if (asciiLower(c) != lower[k])
                return false;
        }
        return true;
    };

    qsizetype i = from;
#if defined(__SSE2__)
    // Candidates: positions whose first and last characters could be the word's.
    const __m128i first = _mm_set1_epi16(short(lower[0]));
    const __m128i firstUpper = _mm_set1_epi16(short(asciiUpper(lower[0])));
    const __m128i last = _mm_set1_epi16(short(lower[n - 1]));
    const __m128i lastUpper = _mm_set1_epi16(short(asciiUpper(lower[n - 1])));
    const auto could = [](__m128i block, __m128i lowerCase, __m128i upperCase) {
        return _mm_or_si128(_mm_cmpeq_epi16(block, lowerCase), _mm_cmpeq_epi16(block, upperCase));
    };
    for (; i + (n - 1) + 8 <= size; i += 8) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i + n - 1));
        auto mask = std::uint32_t(_mm_movemask_epi8(
            _mm_and_si128(could(head, first, firstUpper), could(tail, last, lastUpper))));
        while (mask != 0) {
            const int bit = std::countr_zero(mask);
            if (matchesAt(i + bit / 2))
                return i + bit / 2;
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; i + n <= size; ++i)
        if (matchesAt(i))
            return i;
    return -1;
}

} // namespace catalog
