// Numbers of the chart axis dialog: limits shown as text, texts typed by the user, and the check of
// all four boxes.
#include "waveform/axistext.h"

#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

const QLocale German(QLocale::German, QLocale::Germany);

double Parsed(const QString& text, const QLocale& locale = QLocale::c()) {
    double value = -12345.0;
    EXPECT_TRUE(ParseAxisValue(text, value, locale)) << text.toStdString();
    return value;
}

bool Accepted(const QString& text, const QLocale& locale = QLocale::c()) {
    double value = 0.0;
    return ParseAxisValue(text, value, locale);
}

} // namespace

TEST(FormatAxisValue, ShortestTextWithFifteenDigits) {
    EXPECT_EQ(FormatAxisValue(-50.0), "-50");
    EXPECT_EQ(FormatAxisValue(50.0), "50");
    EXPECT_EQ(FormatAxisValue(12.5), "12.5");
    EXPECT_EQ(FormatAxisValue(0.0114), "0.0114");
    EXPECT_EQ(FormatAxisValue(5119 * static_cast<double>(0.0114f)), "58.3566009839997");
    EXPECT_EQ(FormatAxisValue(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatAxisValue(-0.0), "0");
    EXPECT_EQ(FormatAxisValue(0.0001), "0.0001");
}

TEST(FormatAxisValue, ExponentOnlyForExtremeMagnitudes) {
    EXPECT_EQ(FormatAxisValue(1e20), "1E20");
    EXPECT_EQ(FormatAxisValue(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(FormatAxisValue(123456789012345.0), "123456789012345");
}

TEST(FormatAxisValue, UsesTheLocaleSeparator) {
    EXPECT_EQ(FormatAxisValue(12.5, German), "12,5");
    EXPECT_EQ(FormatAxisValue(1e-20, German), "1E-20");
}

TEST(ParseAxisValue, AcceptsSpacesSignFractionAndExponent) {
    EXPECT_EQ(Parsed(" 12.5 "), 12.5);
    EXPECT_EQ(Parsed("1e1"), 10.0);
    EXPECT_EQ(Parsed("1E+3"), 1000.0);
    EXPECT_EQ(Parsed("-2.5e-1"), -0.25);
    EXPECT_EQ(Parsed("+.5"), 0.5);
    EXPECT_EQ(Parsed("5."), 5.0);
    EXPECT_EQ(Parsed("   -50"), -50.0);
    EXPECT_EQ(Parsed("0"), 0.0);
}

TEST(ParseAxisValue, RejectsWhatIsNoNumber) {
    for (const char* text :
         {"",    " ",   "abc", "-",    "+",   ".",   "-.",    "e5",  "1e",  "1e+",   "1.2.3",
          "1 2", "--5", "5-",  "0x10", "1,5", "\t5", "12.5a", "inf", "nan", "1e400", "-1e400"})
        EXPECT_FALSE(Accepted(QString::fromLatin1(text))) << text;
}

TEST(ParseAxisValue, TinyValuesBecomeZero) {
    EXPECT_EQ(Parsed("1e-400"), 0.0);
}

TEST(ParseAxisValue, ReadsTheLocaleSeparatorOnly) {
    EXPECT_EQ(Parsed(" 12,5 ", German), 12.5);
    EXPECT_FALSE(Accepted("12.5", German));
}

TEST(ParseAxisValue, ReadsWhatFormatAxisValueWrote) {
    for (double v : {58.3566009839997, -50.0, 1e20, -2.5e-7, 0.0114})
        EXPECT_DOUBLE_EQ(Parsed(FormatAxisValue(v)), v);
}

TEST(CheckAxisTexts, ValidTextsReplaceTheLimits) {
    AxisLimits limits{1, 2, 3, 4};
    EXPECT_EQ(CheckAxisTexts({" 12.5 ", "1e2", "-50", "50"}, limits, QLocale::c()), AxisTextCheck::Valid);
    EXPECT_EQ(limits.timeMin, 12.5);
    EXPECT_EQ(limits.timeMax, 100.0);
    EXPECT_EQ(limits.currentMin, -50.0);
    EXPECT_EQ(limits.currentMax, 50.0);
}

TEST(CheckAxisTexts, EqualOrReversedLimitsAreRefused) {
    AxisLimits limits{1, 2, 3, 4};
    EXPECT_EQ(CheckAxisTexts({"10", "10", "-5", "5"}, limits, QLocale::c()), AxisTextCheck::MaxNotLarger);
    EXPECT_EQ(CheckAxisTexts({"0", "10", "5", "-5"}, limits, QLocale::c()), AxisTextCheck::MaxNotLarger);
    EXPECT_EQ(limits.timeMin, 1.0);
    EXPECT_EQ(limits.currentMax, 4.0);
}

TEST(CheckAxisTexts, AnInvalidNumberOutranksAWrongOrder) {
    AxisLimits limits{1, 2, 3, 4};
    EXPECT_EQ(CheckAxisTexts({"10", "0", "5", "abc"}, limits, QLocale::c()), AxisTextCheck::InvalidNumber);
    EXPECT_EQ(CheckAxisTexts({"", "0", "5", "-5"}, limits, QLocale::c()), AxisTextCheck::InvalidNumber);
    EXPECT_EQ(CheckAxisTexts({"10", "0", "-", "-5"}, limits, QLocale::c()), AxisTextCheck::InvalidNumber);
    EXPECT_EQ(limits.timeMin, 1.0);
    EXPECT_EQ(limits.timeMax, 2.0);
}
