#include "catalog/TextSearch.h"

#include <gtest/gtest.h>

#include <QString>

#include <random>

using catalog::FindAsciiWord;

namespace {

// The plain definition, one position after another.
qsizetype reference(const QString& text, const QString& word, qsizetype from) {
    const auto lower = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    };
    for (qsizetype i = std::max<qsizetype>(from, 0); i + word.size() <= text.size(); ++i) {
        bool all = true;
        for (qsizetype k = 0; k < word.size() && all; ++k) {
            const char16_t c = text[i + k].unicode();
            all = lower(c) == lower(word[k].unicode());
        }
        if (all)
            return i;
    }
    return -1;
}

} // namespace

TEST(TextSearchTest, FindsWhatTheOneByOneSearchFindsAtEveryPlaceAndLength) {
    // Texts drawn from a small alphabet so that near misses abound: the word's first and last
    // letters in both cases, other letters, and characters past ASCII (é, a Kelvin sign,
    // a high byte that masks to a letter). Every start, every length around the blocks of
    // eight the search tests at once.
    const char16_t alphabet[] = {u's', u'S', u'i',  u'z',  u'Z',      u'e',      u'E',     u'x',
                                 u' ', u'(', u'\r', u'\n', u'\u00E9', u'\u212A', u'\u0173'};
    std::mt19937 random(7);
    for (const QString& word : {QStringLiteral("Size"), QStringLiteral("e"), QStringLiteral("sizE"),
                                QStringLiteral("WagonShape")}) {
        for (int round = 0; round < 400; ++round) {
            QString text;
            const int length = int(random() % 40);
            for (int i = 0; i < length; ++i)
                text.append(QChar(alphabet[random() % std::size(alphabet)]));
            if (round % 3 == 0 && length >= word.size()) // plant one, in a random case
                for (qsizetype k = 0, at = qsizetype(random() % (length - word.size() + 1));
                     k < word.size(); ++k)
                    text[at + k] = random() % 2 ? word[k].toUpper() : word[k].toLower();
            for (qsizetype from = 0; from <= length + 1; ++from)
                ASSERT_EQ(FindAsciiWord(text, word, from), reference(text, word, from))
                    << qPrintable(text) << " / " << qPrintable(word) << " from " << from;
        }
    }
    EXPECT_EQ(FindAsciiWord(u"abc", u"", 2), 2);
    EXPECT_EQ(FindAsciiWord(u"abc", u"", 4), -1);
}
