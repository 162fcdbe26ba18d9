// Formatting the analyzer's date stamps.
#include "base/global.h"

#include <gtest/gtest.h>

namespace {
const QLocale english(QLocale::English, QLocale::UnitedStates);
}

TEST(DateStamp, FormatsAValidStamp) {
    const DateStamp s{5, 7, 14, 3, 9, 13};
    EXPECT_EQ(FormatStampDateTime(s, english), QStringLiteral("Sep 03, 2013 02:07:05 PM"));
    EXPECT_EQ(FormatStampDate(s, english), QStringLiteral("Sep 03, 2013"));
    EXPECT_EQ(FormatStampTime(s, english), QStringLiteral("02:07:05 PM"));
}

TEST(DateStamp, MidnightAndNoonAreTwelve) {
    EXPECT_EQ(FormatStampTime(DateStamp{0, 0, 0, 1, 1, 0}), QStringLiteral("12:00:00 AM"));
    EXPECT_EQ(FormatStampTime(DateStamp{0, 30, 12, 1, 1, 0}), QStringLiteral("12:30:00 PM"));
    EXPECT_EQ(FormatStampTime(DateStamp{59, 59, 23, 1, 1, 0}), QStringLiteral("11:59:59 PM"));
    EXPECT_EQ(FormatStampTime(DateStamp{1, 2, 11, 1, 1, 0}), QStringLiteral("11:02:01 AM"));
}

TEST(DateStamp, InvalidDatesGiveTheZeroDate) {
    const QString zeroDate = QStringLiteral("Dec 30, 1899");
    EXPECT_EQ(FormatStampDate(DateStamp{0, 0, 0, 1, 0, 13}, english), zeroDate);  // month 0
    EXPECT_EQ(FormatStampDate(DateStamp{0, 0, 0, 1, 13, 13}, english), zeroDate); // month 13
    EXPECT_EQ(FormatStampDate(DateStamp{0, 0, 0, 0, 5, 13}, english), zeroDate);  // day 0
    EXPECT_EQ(FormatStampDate(DateStamp{0, 0, 0, 31, 4, 13}, english), zeroDate); // 31 April
    EXPECT_EQ(FormatStampDate(DateStamp{0, 0, 0, 29, 2, 13}, english), zeroDate); // 29 Feb 2013
    EXPECT_EQ(FormatStampDate(DateStamp{0, 0, 0, 29, 2, 12}, english), QStringLiteral("Feb 29, 2012"));
    EXPECT_EQ(FormatStampDate(DateStamp{0, 0, 0, 31, 12, 255}, english), QStringLiteral("Dec 31, 2255"));
}

TEST(DateStamp, EachFormatterReadsOnlyItsOwnBytes) {
    // A bad time does not spoil the date and a bad date does not spoil the time.
    EXPECT_EQ(FormatStampDate(DateStamp{99, 99, 24, 3, 9, 13}, english), QStringLiteral("Sep 03, 2013"));
    EXPECT_EQ(FormatStampTime(DateStamp{5, 7, 14, 0, 0, 0}, english), QStringLiteral("02:07:05 PM"));
    EXPECT_EQ(FormatStampTime(DateStamp{0, 0, 24, 3, 9, 13}, english),
              QStringLiteral("12:00:00 AM")); // hour 24
    EXPECT_EQ(FormatStampTime(DateStamp{60, 0, 1, 3, 9, 13}, english), QStringLiteral("12:00:00 AM"));
}

TEST(DateStamp, FullTextIsZeroWhenEitherHalfIsInvalid) {
    const QString zero = QStringLiteral("Dec 30, 1899 12:00:00 AM");
    EXPECT_EQ(FormatStampDateTime(DateStamp{0, 0, 0, 0, 0, 0}, english), zero);
    EXPECT_EQ(FormatStampDateTime(DateStamp{5, 7, 24, 3, 9, 13}, english), zero);
    EXPECT_EQ(FormatStampDateTime(DateStamp{5, 7, 14, 31, 4, 13}, english), zero);
}

TEST(DateStamp, MonthNameComesFromTheLocale) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const DateStamp s{5, 7, 14, 3, 9, 13};
    EXPECT_EQ(FormatStampDate(s, german),
              german.monthName(9, QLocale::ShortFormat) + QStringLiteral(" 03, 2013"));
    EXPECT_EQ(FormatStampDate(s), QStringLiteral("Sep 03, 2013")); // the tests' default locale is C
}
