#include "msts/PlainNumber.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <random>
#include <string>

namespace {

float fromChars(const std::string& s) {
    float v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    EXPECT_TRUE(ec == std::errc() && ptr == s.data() + s.size()) << s;
    return v;
}

bool quick(const std::string& s, float& v) {
    return msts::parsePlainFloat(s.data(), s.data() + s.size(), v);
}

TEST(PlainNumbers, floatsTakenEqualTheStandardReadingBitForBit) {
    // Random spellings across the whole quick range and a little beyond, where rounding in
    // double then float would show if it ever differed from rounding once.
    std::mt19937_64 random(7);
    int taken = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string s = random() % 2 ? "-" : "";
        const int whole = int(random() % 9) + 1;
        const int fraction = int(random() % 9);
        for (int d = 0; d < whole; ++d)
            s += char('0' + random() % 10);
        if (fraction > 0) {
            s += '.';
            for (int d = 0; d < fraction; ++d)
                s += char('0' + random() % 10);
        }
        if (random() % 3 == 0)
            s += (random() % 2 ? "e" : "E") + std::to_string(int(random() % 31) - 15);
        float v = 0;
        if (!quick(s, v))
            continue;
        ++taken;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(v), std::bit_cast<std::uint32_t>(fromChars(s))) << s;
    }
    EXPECT_GT(taken, 50000);
    for (const std::string s : {"0", "-0", "1.49278", "-10", "0.833355", "16777215", "1e-10",
                                "1.5E+3", "-2.5e-004", "0.0000001", "7e10"}) {
        float v = 0;
        ASSERT_TRUE(quick(s, v)) << s;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(v), std::bit_cast<std::uint32_t>(fromChars(s))) << s;
    }
}

TEST(PlainNumbers, unusualSpellingsAreLeftToTheGeneralPath) {
    // Mantissas or powers beyond the exact range, and spellings the standard reading treats
    // in its own way (a sign it does not take, a point without digits, words).
    for (const std::string s :
         {"16777216", "9.18485e-017", "1e11", "123456789012345678901", "+1", ".5", "1.", "1e",
          "1e+", "-", "", "inf", "nan", "0x10", "1.5f", "--1", "1e5x"}) {
        float v = 0;
        EXPECT_FALSE(quick(s, v)) << s;
    }
    std::int64_t i = 0;
    for (const std::string s : {"", "-", "+1", "12345678901234567890", "1.0", "0x1", "12a"})
        EXPECT_FALSE(msts::parsePlainInteger(s.data(), s.data() + s.size(), i)) << s;
    std::uint32_t h = 0;
    for (const std::string s : {"", "123456789", "-1", "fg", "0x1f"})
        EXPECT_FALSE(msts::parsePlainHex(s.data(), s.data() + s.size(), h)) << s;
}

TEST(PlainNumbers, integersAndHexWordsGiveTheirValues) {
    std::int64_t i = 0;
    const std::string negative = "-2147483648", large = "4294967295", zeros = "007";
    ASSERT_TRUE(msts::parsePlainInteger(negative.data(), negative.data() + negative.size(), i));
    EXPECT_EQ(i, -2147483648LL);
    ASSERT_TRUE(msts::parsePlainInteger(large.data(), large.data() + large.size(), i));
    EXPECT_EQ(i, 4294967295LL);
    ASSERT_TRUE(msts::parsePlainInteger(zeros.data(), zeros.data() + zeros.size(), i));
    EXPECT_EQ(i, 7);
    std::uint32_t h = 0;
    const std::string colour = "fF969696", one = "1";
    ASSERT_TRUE(msts::parsePlainHex(colour.data(), colour.data() + colour.size(), h));
    EXPECT_EQ(h, 0xff969696u);
    ASSERT_TRUE(msts::parsePlainHex(one.data(), one.data() + one.size(), h));
    EXPECT_EQ(h, 1u);
}

} // namespace
