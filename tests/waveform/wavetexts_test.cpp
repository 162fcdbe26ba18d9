// Texts of the waveform viewer: the measurement panel's rows and numbers, the current read-out, the
// chart title and the series colours.
#include "waveform/wavetexts.h"

#include "tests/support/qtprinters.h"
#include <QSet>

#include <gtest/gtest.h>

namespace {

const QLocale German(QLocale::German, QLocale::Germany);

// The value texts of the panel, keyed by value label.
QMap<QString, QString> PanelTexts(const TLoadResults& r) {
    QMap<QString, QString> texts;
    for (const WaveDetailRow& row : WaveDetailRows())
        if (row.valueLabel)
            texts.insert(QString::fromLatin1(row.valueLabel), WaveDetailText(row, r, QLocale::c()));
    return texts;
}

} // namespace

TEST(FormatDecimals, RoundsHalfAwayFromZero) {
    EXPECT_EQ(FormatDecimals(150.25f, 2), "150.25");
    EXPECT_EQ(FormatDecimals(0.125, 2), "0.13");
    EXPECT_EQ(FormatDecimals(-0.125, 2), "-0.13");
    EXPECT_EQ(FormatDecimals(0.5, 0), "1");
    EXPECT_EQ(FormatDecimals(2.5, 0), "3");
    EXPECT_EQ(FormatDecimals(-2.5, 0), "-3");
    EXPECT_EQ(FormatDecimals(0.25, 1), "0.3");
    // The single-precision 1.005 lies just below the half-way point.
    EXPECT_EQ(FormatDecimals(1.005f, 2), "1.00");
}

TEST(FormatDecimals, PatternsOfTheMeasurementPanel) {
    EXPECT_EQ(FormatDecimals(0.3f, 2), "0.30");
    EXPECT_EQ(FormatDecimals(48.7f, 1), "48.7");
    EXPECT_EQ(FormatDecimals(60.0f, 0), "60");
    EXPECT_EQ(FormatDecimals(0.0f, 0), "0");
    EXPECT_EQ(FormatDecimals(0.0f, 2), "0.00");
    EXPECT_EQ(FormatDecimals(1234567.0f, 2), "1234567.00"); // no thousands separators
    EXPECT_EQ(FormatDecimals(-0.001, 2), "0.00");           // no minus on a zero
    EXPECT_EQ(FormatDecimals(-12.345f, 1), "-12.3");
}

TEST(FormatDecimals, UsesTheLocaleSeparator) {
    EXPECT_EQ(FormatDecimals(150.25f, 2, German), "150,25");
    EXPECT_EQ(FormatDecimals(1234.5f, 1, German), "1234,5");
    EXPECT_EQ(FormatDecimals(60.0f, 0, German), "60");
}

TEST(FormatCurrentReadout, GroupsThousandsAndDropsTrailingZeros) {
    EXPECT_EQ(FormatCurrentReadout(1234.5678, QLocale::c()), "1,234.568");
    EXPECT_EQ(FormatCurrentReadout(-12.3, QLocale::c()), "-12.3");
    EXPECT_EQ(FormatCurrentReadout(0.0, QLocale::c()), "0");
    EXPECT_EQ(FormatCurrentReadout(-0.0004, QLocale::c()), "0");
    EXPECT_EQ(FormatCurrentReadout(999.9996, QLocale::c()), "1,000");
    EXPECT_EQ(FormatCurrentReadout(-1234567.0, QLocale::c()), "-1,234,567");
    EXPECT_EQ(FormatCurrentReadout(42.0, QLocale::c()), "42");
    EXPECT_EQ(FormatCurrentReadout(1234.5, German), "1.234,5");
}

TEST(WaveDetailRows, EighteenValuesUnderTwoHeadings) {
    const auto rows = WaveDetailRows();
    ASSERT_EQ(rows.size(), 20u);
    QSet<QString> labels;
    for (const WaveDetailRow& row : rows)
        if (row.valueLabel)
            labels.insert(QString::fromLatin1(row.valueLabel));
    EXPECT_EQ(labels.size(), 18);
    EXPECT_STREQ(rows[0].caption, "Total Energy:");
    EXPECT_STREQ(rows[1].caption, "First Phase:");
    EXPECT_EQ(rows[1].valueLabel, nullptr);
    EXPECT_STREQ(rows[9].caption, "Second Phase:");
    EXPECT_EQ(rows[9].valueLabel, nullptr);
    EXPECT_STREQ(rows[19].caption, "Duty Cycle:");
    EXPECT_FALSE(labels.contains("lblWidthNeg50")); // the second phase has no 50 % width
}

TEST(WaveDetailRows, CaptionsTopToBottom) {
    QStringList captions;
    for (const WaveDetailRow& row : WaveDetailRows())
        captions << QString::fromLatin1(row.caption);
    EXPECT_EQ(captions,
              QStringList({"Total Energy:",     "First Phase:",  "Energy:",          "Peak Current:",
                           "Average Current:",  "Peak Voltage:", "Average Voltage:", "Pulse Width 10%:",
                           "Pulse Width 50%:",  "Second Phase:", "Energy:",          "Peak Current:",
                           "Average Current:",  "Peak Voltage:", "Average Voltage:", "Pulse Width 10%:",
                           "Interphase Delay:", "Tilt:",         "Frequency:",       "Duty Cycle:"}));
}

TEST(WaveDetailText, EveryRowFromItsField) {
    TLoadResults r{};
    for (int i = 0; i < LOAD_RESULT_COUNT; ++i)
        r[i] = 10.0f * i + 0.25f;
    r[lrTotalEnergy] = 200.0f;
    r[lrEnergy1] = 120.0f;
    r[lrModulationFreq] = 60.0f;
    r[lrTilt] = 48.7f;
    r[lrInterphaseDelay] = 0.3f;
    const QMap<QString, QString> expected{
        {"lblEnergy", "200.00 J"},
        {"lblEnergy1", "120.00 J"},
        {"lblAmpsP1", "20.25 A"},
        {"lblAmpsA1", "100.25 A"},
        {"lblVoltsP1", "10.25 V"},
        {"lblVoltsA1", "80.25 V"},
        {"lblWidthPos10", "30.25 msec"},
        {"lblWidthPos50", "40.25 msec"},
        {"lblEnergy2", "80.00 J"},
        {"lblAmpsP2", "70.25 A"},
        {"lblAmpsA2", "110.25 A"},
        {"lblVoltsP2", "60.25 V"},
        {"lblVoltsA2", "90.25 V"},
        {"lblWidthNeg10", "130.25 msec"},
        {"lblDelay", "0.30 msec"},
        {"lblTilt", "48.7 %"},
        {"lblFreq", "60 Hz"},
        {"lblDuty", "160.3 %"},
    };
    EXPECT_EQ(PanelTexts(r), expected);
}

TEST(WaveDetailText, AllZeroResults) {
    const TLoadResults r{};
    for (const auto& [label, text] : PanelTexts(r).asKeyValueRange()) {
        if (label == "lblTilt" || label == "lblDuty")
            EXPECT_EQ(text, "0.0 %");
        else if (label == "lblFreq")
            EXPECT_EQ(text, "0 Hz");
        else
            EXPECT_TRUE(text.startsWith("0.00 ")) << label.toStdString() << ": " << text.toStdString();
    }
}

TEST(ChartTitleLines, DeviceIdThenDate) {
    EXPECT_EQ(ChartTitleLines("BME-0042", "Sep 03, 2013 02:07:05 PM"),
              QStringList({"Device ID: BME-0042", "Sep 03, 2013 02:07:05 PM"}));
    EXPECT_EQ(ChartTitleLines("", "x").first(), "Device ID: ");
}

TEST(SeriesColour, FollowsThePositionOfTheSeries) {
    auto rgb = [](int position) {
        const SeriesRgb c = SeriesColour(position);
        return std::array{c.r, c.g, c.b};
    };
    EXPECT_EQ(rgb(0), (std::array{0, 0, 160}));
    EXPECT_EQ(rgb(1), (std::array{255, 0, 0}));
    EXPECT_EQ(rgb(2), (std::array{0, 128, 0}));
    EXPECT_EQ(rgb(3), (std::array{255, 0, 255}));
    EXPECT_EQ(rgb(4), (std::array{0, 128, 128}));
    EXPECT_EQ(rgb(5), (std::array{128, 0, 0}));
    EXPECT_EQ(rgb(6), (std::array{128, 0, 128}));
    EXPECT_EQ(rgb(7), rgb(0));
}
