// Fixed-width number text: rounding, cutting, padding, separators, and text that is never a number.
#include "base/formatfield.h"
#include "tests/report/golden.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

QString F(double value, int width, int decimals) {
    return FormatField(value, width, decimals, QLocale::c());
}

const QLocale German(QLocale::German, QLocale::Germany);

TEST(FormatField, CutsFromTheRightInsteadOfRoundingAgain) {
    EXPECT_EQ(F(24.994, 5, 2), "24.99");
    EXPECT_EQ(F(100.126, 5, 2), "100.1"); // 100.13, cut
    EXPECT_EQ(F(175.43, 5, 2), "175.4");
    EXPECT_EQ(F(175.48, 5, 2), "175.4"); // not 175.5
    EXPECT_EQ(F(1234.5, 5, 1), " 1234"); // 1234.5 cut to "1234." and the point dropped
    EXPECT_EQ(F(99999.9, 5, 1), "99999");
    EXPECT_EQ(F(123456.0, 5, 0), "12345"); // too wide even without decimals
}

TEST(FormatField, PadsShortTextOnTheLeft) {
    EXPECT_EQ(F(1500, 5, 0), " 1500");
    EXPECT_EQ(F(0, 5, 2), " 0.00");
    EXPECT_EQ(F(0, 5, 1), "  0.0");
    EXPECT_EQ(F(0, 5, 0), "    0");
    EXPECT_EQ(F(7, 5, 0), "    7");
    EXPECT_EQ(F(0.5, 5, 2), " 0.50");
}

TEST(FormatField, TimeColumn) {
    EXPECT_EQ(F(0, 7, 4), " 0.0000");
    EXPECT_EQ(F(5119 * 0.0114f, 7, 4), "58.3566");
    EXPECT_EQ(F(1 * 0.0114f, 7, 4), " 0.0114");
    EXPECT_EQ(F(100 * 0.0114f, 7, 4), " 1.1400");
}

TEST(FormatField, NegativeValues) {
    EXPECT_EQ(F(-45.678, 5, 2), "-45.6");
    EXPECT_EQ(F(-1.5, 5, 2), "-1.50");
    EXPECT_EQ(F(-765.5, 5, 1), " -765"); // "-765.5" cut to "-765." and the point dropped
    EXPECT_EQ(F(-12345, 5, 0), "-1234");
    EXPECT_EQ(F(-0.004, 5, 2), " 0.00"); // rounds to zero: no sign
    EXPECT_EQ(F(-0.0, 5, 2), " 0.00");
    EXPECT_EQ(F(-0.005, 5, 2), "-0.01");
}

TEST(FormatField, ExactHalvesRoundAwayFromZero) {
    EXPECT_EQ(F(0.125, 5, 2), " 0.13");
    EXPECT_EQ(F(-0.125, 5, 2), "-0.13");
    EXPECT_EQ(F(0.375, 5, 2), " 0.38");
    EXPECT_EQ(F(2.5, 5, 0), "    3");
    EXPECT_EQ(F(-2.5, 5, 0), "   -3");
    EXPECT_EQ(F(0.5, 5, 0), "    1");
    EXPECT_EQ(F(0.25, 5, 1), "  0.3");
    EXPECT_EQ(F(0.0625, 7, 3), "  0.063");
    EXPECT_EQ(F(0.03125, 7, 4), " 0.0313");
    EXPECT_EQ(F(9.5, 5, 0), "   10");
    EXPECT_EQ(F(99999.5, 5, 0), "10000"); // 100000, cut
}

TEST(FormatField, FloatsRoundByTheirExactBinaryValue) {
    // 0.145f is 0.14499999582..., below the half; 0.155f is 0.15500000119..., above it.
    EXPECT_EQ(F(0.145f, 5, 2), " 0.14");
    EXPECT_EQ(F(0.155f, 5, 2), " 0.16");
    EXPECT_EQ(F(24.994f, 5, 2), "24.99");
    EXPECT_EQ(F(31.13f, 5, 2), "31.13");
    EXPECT_EQ(F(191.7f, 5, 1), "191.7");
    // 0.15 as a double lies just below 0.15.
    EXPECT_EQ(F(0.15, 5, 1), "  0.1");
}

TEST(FormatField, LargeValuesAreCut) {
    EXPECT_EQ(F(4294967296.0, 5, 0), "42949");
    EXPECT_EQ(F(65535.0 * 65536.0, 5, 0), "42949");
    EXPECT_EQ(F(1e30, 5, 2), "10000");
    EXPECT_EQ(F(-1e30, 5, 2), "-1000");
    EXPECT_EQ(F(std::numeric_limits<double>::max(), 5, 2), "17976");
    EXPECT_EQ(F(std::numeric_limits<float>::max(), 7, 4), "3402823");
}

TEST(FormatField, NeverPrintsNonNumbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(F(nan, 5, 2), " 0.00");
    EXPECT_EQ(F(inf, 5, 2), " 0.00");
    EXPECT_EQ(F(-inf, 7, 4), " 0.0000");
    EXPECT_EQ(F(nan, 3, 5), "  0"); // the general text too
    EXPECT_EQ(F(std::numeric_limits<double>::denorm_min(), 5, 2), " 0.00");
}

TEST(FormatField, MoreDecimalsThanWidthUsesTheGeneralText) {
    EXPECT_EQ(F(0.5, 3, 5), "0.5");
    EXPECT_EQ(F(2, 3, 5), "  2");
    EXPECT_EQ(F(123.456, 2, 3), "12");
    EXPECT_EQ(F(12.0, 3, 4), " 12");
    EXPECT_EQ(F(1.5, 2, 4), " 1"); // "1.5" cut to "1." and the point dropped
}

TEST(FormatField, IsAlwaysExactlyWidthCharacters) {
    const double values[] = {0, 1, -1, 0.001, 12.345, -98.765, 1234.5, 99999.99, -99999.99, 1e9, 3.14159};
    for (double v : values)
        for (int width = 0; width <= 12; ++width)
            for (int decimals = 0; decimals <= 6; ++decimals)
                EXPECT_EQ(F(v, width, decimals).size(), width) << v << " " << width << " " << decimals;
}

TEST(FormatField, UsesTheLocaleDecimalSeparator) {
    EXPECT_EQ(FormatField(24.994, 5, 2, German), "24,99");
    EXPECT_EQ(FormatField(0, 7, 4, German), " 0,0000");
    EXPECT_EQ(FormatField(58.3566, 7, 4, German), "58,3566");
    EXPECT_EQ(FormatField(-45.678, 5, 2, German), "-45,6");
    EXPECT_EQ(FormatField(1500, 5, 0, German), " 1500");
    // Only a full stop is dropped after the cut; a trailing comma stays.
    EXPECT_EQ(FormatField(1234.5, 5, 1, German), "1234,");
    EXPECT_EQ(FormatField(1234567.0, 5, 2, German), "12345"); // no thousands separators
}

TEST(FormatField, SeparatorOutsideLatin1) {
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    const QChar separator = DecimalSeparator(arabic);
    if (separator.unicode() <= 0xFF)
        GTEST_SKIP() << "this Qt gives the Arabic locale a Latin-1 decimal separator";
    EXPECT_EQ(FormatField(24.994, 5, 2, arabic), QStringLiteral("24") + separator + QStringLiteral("99"));
    EXPECT_EQ(FormatField(1234.5, 5, 1, arabic), QStringLiteral("1234") + separator); // not a full stop: kept
}

TEST(FormatField, DefaultLocaleIsTheProgramDefault) {
    EXPECT_EQ(FormatField(24.994, 5, 2), "24.99"); // the tests run with the C locale as default
}

TEST(FormatFieldChars, WritesEightBitTextWithTheGivenSeparator) {
    char out[8] = {};
    FormatFieldChars(out, 24.994, 5, 2, ',');
    EXPECT_STREQ(out, "24,99");
    std::memset(out, 0, sizeof out);
    FormatFieldChars(out, 1234.5, 5, 1, ',');
    EXPECT_STREQ(out, "1234,");
    std::memset(out, 0, sizeof out);
    FormatFieldChars(out, 1234.5, 5, 1, '.');
    EXPECT_STREQ(out, " 1234");
}

TEST(PadInfo, FillsToTwentyFourCharacters) {
    EXPECT_EQ(PadInfo(QString()), QString(24, QLatin1Char('_')));
    EXPECT_EQ(PadInfo(QStringLiteral("Acme")), QStringLiteral("Acme") + QString(20, QLatin1Char(' ')));
    const QString exact(24, QLatin1Char('x'));
    EXPECT_EQ(PadInfo(exact), exact);
    const QString longer(31, QLatin1Char('y'));
    EXPECT_EQ(PadInfo(longer), longer); // never cut
    EXPECT_EQ(PadInfo(QStringLiteral(" ")), QString(24, QLatin1Char(' ')));
}

// An independent rounding: the exact decimal expansion of the double, rounded as a digit string.
// 160 decimals hold every digit of the values used below: their lowest bits all lie above 2^-100.
std::string ReferenceFixed(double value, int decimals) {
    static char expansion[600];
    std::snprintf(expansion, sizeof expansion, "%.160f", std::fabs(value)); // exact in glibc
    const std::string s(expansion);
    const size_t point = s.find('.');
    std::string kept = s.substr(0, point) + s.substr(point + 1, static_cast<size_t>(decimals));
    if (s[point + 1 + static_cast<size_t>(decimals)] >= '5') { // a half or more: away from zero
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9')
            kept[static_cast<size_t>(i--)] = '0';
        if (i < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[static_cast<size_t>(i)];
    }
    std::string integer = kept.substr(0, kept.size() - static_cast<size_t>(decimals));
    integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size() - 1));
    // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on "." + std::string.
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    std::string text = value < 0 && !zero ? "-" : "";
    text += integer;
    if (decimals > 0) {
        text += '.';
        text.append(kept, kept.size() - static_cast<size_t>(decimals));
    }
    return text;
}

void ExpectSameAsReference(double value, int decimals) {
    const QString text = F(value, 60, decimals).trimmed();
    ASSERT_EQ(text.toStdString(), ReferenceFixed(value, decimals))
        << "value " << value << " (" << std::hexfloat << value << std::defaultfloat << ") at " << decimals
        << " decimals";
}

TEST(FormatFieldRounding, AgreesWithExactDecimalRoundingForCounts) {
    // The values the report shows: 16-bit counts times their units.
    for (int count = 0; count <= 65535; count += 7) {
        ExpectSameAsReference(static_cast<float>(count) * 0.01f, 2);
        ExpectSameAsReference(static_cast<float>(count) * 0.1f, 1);
        ExpectSameAsReference(static_cast<float>(count) * 0.0114f, 4);
        ExpectSameAsReference(-static_cast<float>(count) * 0.00123f, 2);
    }
}

TEST(FormatFieldRounding, AgreesWithExactDecimalRoundingAcrossFloats) {
    for (uint32_t bits = 0x30000000; bits < 0x5F000000; bits += 65521) {
        float f = 0;
        std::memcpy(&f, &bits, sizeof f);
        for (int decimals : {0, 1, 2, 4, 9}) {
            ExpectSameAsReference(f, decimals);
            ExpectSameAsReference(-f, decimals);
        }
    }
}

TEST(FormatFieldRounding, AgreesWithExactDecimalRoundingForDoublesAndHalves) {
    // Full 53-bit doubles with many decimals, huge values and exact halves that the C library would
    // round to even.
    double v = 0.7390851332151607;
    for (int i = 0; i < 3000; ++i) {
        v = std::fmod(v * 3.9 + 0.1234567, 1.0);
        const double value = v * std::pow(10.0, i % 24 - 6);
        ExpectSameAsReference(value, i % 8);
        ExpectSameAsReference(-value, (i + 3) % 8);
    }
    ExpectSameAsReference(70368744177664.03125, 4); // (2^51 + 1) / 32: a half beyond 64-bit scaling
    ExpectSameAsReference(-70368744177664.03125, 4);
    ExpectSameAsReference(1e22 + 0.5, 0);
    for (int k = 1; k < 400; k += 2)
        for (int decimals = 0; decimals <= 5; ++decimals)
            ExpectSameAsReference(std::ldexp(k, -(decimals + 1)), decimals);
}

} // namespace
