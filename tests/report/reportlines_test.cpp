// The report's lines: fixed texts, where each value goes, the cells of loads without data, the
// header's device information, the locale, and records that hold arbitrary bytes.
#include "base/global.h"
#include "base/formatfield.h"
#include "report/reportlines.h"
#include "tests/report/golden.h"
#include "tests/report/goldenrecords.h"
#include "tests/support/recordbuilder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

const QString Ruler = QStringLiteral("--25-----50-----75----100----125----150----175-");

QStringList Report(const TZRTestRec& rec, const QLocale& locale = QLocale::c()) {
    return BuildReportLines(rec, ComputeLoadResultsTable(rec), locale);
}

// Line n of the report, counted from 1.
QString Line(const QStringList& lines, int n) {
    return lines.at(n - 1);
}

// The 5 characters of load k's cell in a results or waveform line.
QString Cell(const QString& line, int load) {
    return line.mid(25 + 7 * load, 5);
}

QString Spaces(int n) {
    return QString(n, QLatin1Char(' '));
}

struct ValueLine {
    int line;
    const char* label;
    int value;
    int decimals;
};

// Lines 19 to 42 that show a value, as the report's layout lists them.
const ValueLine ValueLines[] = {
    {19, "ACTUAL LOAD (ohms)       ", lrActualLoad, 2},
    {20, "DISCHARGE ENERGY (J)     ", lrTotalEnergy, 1},
    {23, "ENERGY (J)               ", lrEnergy1, 1},
    {24, "PEAK CURRENT (Amps)      ", lrPeakCurrent1, 2},
    {25, "AVERAGE CURRENT (Amps)   ", lrAvgCurrent1, 2},
    {26, "PEAK Voltage (Volts)     ", lrPeakVoltage1, 0},
    {27, "AVERAGE Voltage (Volts)  ", lrAvgVoltage1, 0},
    {28, "WIDTH @ 10% (msec)       ", lrWidth10_1, 2},
    {29, "WIDTH @ 50% (msec)       ", lrWidth50_1, 2},
    {33, "PEAK CURRENT (Amps)      ", lrPeakCurrent2, 2},
    {34, "AVERAGE CURRENT (Amps)   ", lrAvgCurrent2, 2},
    {35, "PEAK VOLTAGE (Volts)     ", lrPeakVoltage2, 0},
    {36, "AVERAGE VOLTAGE (Volts)  ", lrAvgVoltage2, 0},
    {37, "WIDTH @ 10% (msec)       ", lrWidth10_2, 2},
    {39, "INTERPHASE DELAY (msec)  ", lrInterphaseDelay, 2},
    {40, "TILT (%)                 ", lrTilt, 1},
    {41, "MODULATION FREQUENCY (Hz)", lrModulationFreq, 0},
    {42, "DUTY CYCLE (%)           ", lrDutyCycle, 1},
};
constexpr int SecondPhaseEnergyLine = 32;

bool IsTableLine(int n) {
    return (n >= 19 && n <= 20) || (n >= 23 && n <= 29) || (n >= 32 && n <= 37) || (n >= 39 && n <= 42) ||
           (n >= 46 && n <= 5165);
}

TEST(ReportLines, FixedLinesStandAsWritten) {
    const auto rec = MakeFullRecord();
    const QStringList lines = Report(*rec);
    ASSERT_EQ(lines.size(), 5167);
    EXPECT_EQ(Line(lines, 1), Spaces(25) + "CORVEX DEFIBRILLATOR ANALYZER");
    EXPECT_EQ(Line(lines, 2), Spaces(30) + "Velmora Systems Inc.");
    EXPECT_EQ(Line(lines, 3), "");
    EXPECT_EQ(Line(lines, 4), Spaces(35) + "TEST REPORT");
    EXPECT_EQ(Line(lines, 5), "");
    EXPECT_EQ(Line(lines, 6), Spaces(26) + "DATE OF TEST: Sep 03, 2013");
    EXPECT_EQ(Line(lines, 7), Spaces(26) + "TIME OF TEST: 02:07:05 PM");
    EXPECT_EQ(Line(lines, 8), Spaces(26) + "CORVEX I.D.:  ZR-004711");
    EXPECT_EQ(Line(lines, 9), Spaces(26) + "DEVICE I.D.:  BME-0042");
    EXPECT_EQ(Line(lines, 10), Spaces(26) + "TEST TYPE:    PER IEC 60601-2-4 2002(E)");
    EXPECT_EQ(Line(lines, 11), Spaces(40) + "SECTION 6.8.3");
    EXPECT_EQ(Line(lines, 12), "");
    EXPECT_EQ(Line(lines, 13), "MANUFACTURER: Acme Medical              MODEL:    LifeKeeper 3            ");
    EXPECT_EQ(Line(lines, 14), "SERIAL NO:    SN 99-1234                FACILITY: General Hospital        ");
    EXPECT_EQ(Line(lines, 15), "LOCATION:     ER Bay 4                  TECH ID:  JD                      ");
    EXPECT_EQ(Line(lines, 16), "");
    EXPECT_EQ(Line(lines, 17), Spaces(25) + "------------------ TEST LOAD ------------------");
    EXPECT_EQ(Line(lines, 18), Spaces(25) + Ruler);
    EXPECT_EQ(Line(lines, 21), "");
    EXPECT_EQ(Line(lines, 22), "--- FIRST PHASE ---");
    EXPECT_EQ(Line(lines, 30), "");
    EXPECT_EQ(Line(lines, 31), "--- SECOND PHASE ---");
    EXPECT_EQ(Line(lines, 32).left(25), "ENERGY (J)               ");
    EXPECT_EQ(Line(lines, 38), "");
    EXPECT_EQ(Line(lines, 43), Spaces(36) + "DISCHARGE WAVEFORM DATA (Amps)");
    EXPECT_EQ(Line(lines, 44), Spaces(16) + "TIME     ------------------ TEST LOAD ------------------");
    EXPECT_EQ(Line(lines, 45), Spaces(15) + "(msec)    " + Ruler);
    EXPECT_EQ(Line(lines, 5166), "");
    EXPECT_EQ(Line(lines, 5167), "END OF DATA");
    for (const ValueLine& v : ValueLines)
        EXPECT_EQ(Line(lines, v.line).left(25), QLatin1String(v.label)) << "line " << v.line;
    // The four values of the identity block start in column 41.
    for (int n = 6; n <= 9; ++n)
        EXPECT_NE(Line(lines, n).at(40), QLatin1Char(' ')) << "line " << n;
}

TEST(ReportLines, EveryTableLineIsSeventyTwoCharacters) {
    for (const GoldenRecord& golden : GoldenRecords()) {
        const auto rec = golden.make();
        const QStringList lines = Report(*rec);
        ASSERT_EQ(lines.size(), REPORT_LINE_COUNT) << golden.name.toStdString();
        for (int n = 1; n <= lines.size(); ++n) {
            if (IsTableLine(n)) {
                ASSERT_EQ(Line(lines, n).size(), 72) << golden.name.toStdString() << " line " << n;
            }
        }
    }
}

TEST(ReportLines, ValuesAreTheCorrectedResultsOfEachLoad) {
    const auto rec = MakeFullRecord();
    const QStringList lines = Report(*rec);
    for (int load = 0; load < LOAD_COUNT; ++load) {
        const TLoadResults r = ComputeLoadResults(rec->Loads[load], load);
        for (const ValueLine& v : ValueLines)
            EXPECT_EQ(Cell(Line(lines, v.line), load), FormatField(r[v.value], 5, v.decimals, QLocale::c()))
                << "line " << v.line << " load " << load;
        EXPECT_EQ(Cell(Line(lines, SecondPhaseEnergyLine), load),
                  FormatField(r[lrTotalEnergy] - r[lrEnergy1], 5, 1, QLocale::c()));
        const TSampleAmps amps = SampleToAmps(rec->Loads[load], r);
        for (int j : {0, 1, 20, 21, 700, 5119})
            EXPECT_EQ(Cell(Line(lines, 46 + j), load), FormatField(amps[j], 5, 2, QLocale::c()))
                << "sample " << j << " load " << load;
    }
}

TEST(ReportLines, CellsLieUnderTheirLoadInTheRuler) {
    const auto rec = MakeFullRecord();
    const QStringList lines = Report(*rec);
    const QString ruler = Line(lines, 18);
    for (int load = 0; load < LOAD_COUNT; ++load)
        EXPECT_TRUE(Cell(ruler, load).contains(QString::number(LoadOhms(load)))) << load;
}

TEST(ReportLines, HandCheckedValuesOfTheFullRecord) {
    // Load 0 (seed 1): 50.00 ohm analyzer load parallel to 50.00 ohm: 25.00 ohm and k = 2.
    // Energy1 = 1245 counts = 124.5 J, doubled 249.0; TotalEnergy 1917 counts = 191.7 J, doubled 383.4.
    // PeakCurrent1 3113 counts = 31.13 A, doubled 62.26. PeakVoltage1 1537 V, not corrected.
    const auto rec = MakeFullRecord();
    const QStringList lines = Report(*rec);
    EXPECT_EQ(Cell(Line(lines, 19), 0), "25.00");
    EXPECT_EQ(Cell(Line(lines, 20), 0), "383.4");
    EXPECT_EQ(Cell(Line(lines, 23), 0), "249.0");
    EXPECT_EQ(Cell(Line(lines, 24), 0), "62.26");
    EXPECT_EQ(Cell(Line(lines, 26), 0), " 1537");
    EXPECT_EQ(Cell(Line(lines, 32), 0), "134.4"); // 383.4 - 249.0
    // Load 1 (seed 2): 50 ohms alone, nothing corrected. Tilt 561 counts = 56.1 %.
    EXPECT_EQ(Cell(Line(lines, 19), 1), "50.00");
    EXPECT_EQ(Cell(Line(lines, 20), 1), "193.4");
    EXPECT_EQ(Cell(Line(lines, 40), 1), " 56.1");
    // Load 6 (seed 7): 50.00 + 125.00 ohms in series, k = 3.5: PeakVoltage1 1759 V * 3.5 = 6156.5,
    // at 0 decimals 6157, cut to five characters.
    EXPECT_EQ(Cell(Line(lines, 19), 6), "175.0");
    EXPECT_EQ(Cell(Line(lines, 26), 6), " 6157");
    // Sample 0 of every load is 0 A; sample 20 is the peak, the corrected first-phase peak current.
    EXPECT_EQ(Line(lines, 46),
              Spaces(14) + " 0.0000" + Spaces(4) + QStringList(7, QStringLiteral(" 0.00")).join("  "));
    EXPECT_EQ(Cell(Line(lines, 66), 0), "62.26");
    EXPECT_EQ(Cell(Line(lines, 66), 1), "32.26"); // 3226 counts, uncorrected
}

TEST(ReportLines, TimeColumnRunsFromZeroToTheLastSample) {
    const auto rec = MakeEmptyRecord();
    const QStringList lines = Report(*rec);
    EXPECT_EQ(Line(lines, 46).left(25), Spaces(14) + " 0.0000" + Spaces(4));
    EXPECT_EQ(Line(lines, 47).mid(14, 7), " 0.0114");
    EXPECT_EQ(Line(lines, 5165).left(25), Spaces(14) + "58.3566" + Spaces(4));
}

TEST(ReportLines, RecordWithoutDataHasOnlyEmptyCells) {
    const auto rec = MakeEmptyRecord();
    const QStringList lines = Report(*rec);
    ASSERT_EQ(lines.size(), 5167);
    for (const ValueLine& v : ValueLines)
        EXPECT_EQ(Line(lines, v.line), QLatin1String(v.label) + Spaces(47)) << v.line;
    EXPECT_EQ(Line(lines, SecondPhaseEnergyLine), "ENERGY (J)               " + Spaces(47));
    for (int n = 46; n <= 5165; ++n)
        ASSERT_EQ(Line(lines, n).mid(21), Spaces(51)) << "line " << n;
}

TEST(ReportLines, EmptyDeviceSlotsShowUnderscores) {
    const auto rec = MakeEmptyRecord();
    const QStringList lines = Report(*rec);
    const QString blank(24, QLatin1Char('_'));
    EXPECT_EQ(Line(lines, 6), Spaces(26) + "DATE OF TEST: Dec 30, 1899"); // an all-zero stamp
    EXPECT_EQ(Line(lines, 7), Spaces(26) + "TIME OF TEST: 12:00:00 AM");
    EXPECT_EQ(Line(lines, 8), Spaces(26) + "CORVEX I.D.:  ");
    EXPECT_EQ(Line(lines, 9), Spaces(26) + "DEVICE I.D.:  ");
    EXPECT_EQ(Line(lines, 13), "MANUFACTURER: " + blank + "  MODEL:    " + blank);
    EXPECT_EQ(Line(lines, 14), "SERIAL NO:    " + blank + "  FACILITY: " + blank);
    EXPECT_EQ(Line(lines, 15), "LOCATION:     " + blank + "  TECH ID:  " + blank);
}

TEST(ReportLines, OnlyTheTestedLoadsColumnHoldsText) {
    const auto rec = MakeLoad75Record();
    const QStringList lines = Report(*rec);
    for (int n = 19; n <= 5165; ++n) {
        if (!IsTableLine(n))
            continue;
        const QString line = Line(lines, n);
        // Characters 40 to 44 (counted from 1), under the "75" of the ruler.
        EXPECT_NE(line.mid(39, 5), Spaces(5)) << "line " << n;
        EXPECT_EQ(line.mid(25, 14), Spaces(14)) << "line " << n;
        EXPECT_EQ(line.mid(44), Spaces(28)) << "line " << n;
    }
}

TEST(ReportLines, LongTextsAndEdgeValues) {
    const auto rec = MakeEdgeRecord();
    const QStringList lines = Report(*rec);
    EXPECT_EQ(Line(lines, 6), Spaces(26) + "DATE OF TEST: Feb 29, 2012");
    EXPECT_EQ(Line(lines, 7), Spaces(26) + "TIME OF TEST: 12:00:00 AM");
    EXPECT_EQ(Line(lines, 8), Spaces(26) + "CORVEX I.D.:  ANALYZER-ID-0016"); // 16 characters, no NUL
    EXPECT_EQ(Line(lines, 9), Spaces(26) + "DEVICE I.D.:  DEFIB-UNIT-0123456789-ABCDEFGH");
    // A 30-character text is printed whole and pushes the second label six characters right.
    EXPECT_EQ(Line(lines, 13),
              QStringLiteral("MANUFACTURER: Manufacturer With A Long Name!  MODEL:    Mod\u00e8le "
                             "\u00c9t\u00e9              "));
    EXPECT_EQ(Line(lines, 13).indexOf(QLatin1String("  MODEL:")), 14 + 30);
    EXPECT_EQ(Line(lines, 14),
              "SERIAL NO:    " + QString(24, QLatin1Char('_')) + "  FACILITY: Exactly Twenty-Four Char");
    EXPECT_EQ(Line(lines, 15), "LOCATION:     Twenty-Five Characters...  TECH ID:  T" + Spaces(23));

    EXPECT_EQ(Cell(Line(lines, 19), 1), "49.87");
    EXPECT_EQ(Cell(Line(lines, 20), 1), " 1234"); // 1234.5 J
    EXPECT_EQ(Cell(Line(lines, 23), 1), " 2000");
    EXPECT_EQ(Cell(Line(lines, 32), 1), " -765"); // 1234.5 - 2000.0
    EXPECT_EQ(Cell(Line(lines, 26), 1), "65535");
    EXPECT_EQ(Cell(Line(lines, 19), 2), Spaces(5)); // fields filled, but no data
    EXPECT_EQ(Cell(Line(lines, 19), 3), "655.3");   // 0.01 + 655.35 ohms
    EXPECT_EQ(Cell(Line(lines, 19), 6), "175.4");   // 175.43 cut, not rounded
    for (int n = 46; n <= 5165; ++n)
        ASSERT_EQ(Cell(Line(lines, n), 5), " 0.00") << "line " << n; // silent waveform
    // The sample of -32768 is the largest magnitude: minus the corrected peak current.
    const TLoadResults r4 = ComputeLoadResults(rec->Loads[4], 4);
    EXPECT_EQ(Cell(Line(lines, 46 + 3000), 4), FormatField(-r4[lrPeakCurrent1], 5, 2, QLocale::c()));
    EXPECT_TRUE(Cell(Line(lines, 46 + 3000), 4).startsWith(QLatin1Char('-')));
}

TEST(ReportLines, LocaleGivesMonthNameAndDecimalSeparator) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const auto rec = MakeEdgeRecord();
    const QStringList lines = Report(*rec, german);
    ASSERT_EQ(lines.size(), 5167);
    EXPECT_EQ(Line(lines, 6), Spaces(26) + "DATE OF TEST: " + FormatStampDate(rec->TestDateTime(), german));
    EXPECT_TRUE(Line(lines, 6).contains(german.monthName(2, QLocale::ShortFormat)));
    EXPECT_EQ(Cell(Line(lines, 19), 1), "49,87");
    EXPECT_EQ(Cell(Line(lines, 20), 1), "1234,"); // only a full stop is dropped after the cut
    EXPECT_EQ(Cell(Line(lines, 19), 6), "175,4");
    EXPECT_EQ(Line(lines, 46).mid(14, 7), " 0,0000");
    EXPECT_EQ(Line(lines, 5165).mid(14, 7), "58,3566");
    for (int n = 46; n <= 5165; ++n)
        ASSERT_FALSE(Line(lines, n).contains(QLatin1Char('.'))) << "line " << n;
}

TEST(ReportLines, SeparatorOutsideLatin1) {
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    const QChar separator = DecimalSeparator(arabic);
    if (separator.unicode() <= 0xFF)
        GTEST_SKIP() << "this Qt gives the Arabic locale a Latin-1 decimal separator";
    const QStringList lines = Report(*MakeFullRecord(), arabic);
    EXPECT_EQ(Cell(Line(lines, 19), 0), QStringLiteral("25") + separator + QStringLiteral("00"));
    EXPECT_EQ(Line(lines, 5165).mid(14, 7), QStringLiteral("58") + separator + QStringLiteral("3566"));
    EXPECT_EQ(Line(lines, 5165).size(), 72);
}

TEST(ReportLines, ControlCharactersInTextsCannotBreakLines) {
    auto rec = MakeFullRecord();
    std::memcpy(rec->DeviceInfo[diDeviceID], "A\nB\rC\tD\x1b[2J", 12);
    std::memcpy(rec->DeviceInfo[diModel], "M\x85Z", 3);
    rec->AnalyzerStatus[ANALYZER_ID_OFFSET] = '\n';
    const QStringList lines = Report(*rec);
    ASSERT_EQ(lines.size(), 5167);
    EXPECT_EQ(Line(lines, 9), Spaces(26) + "DEVICE I.D.:  A?B?C?D?[2J");
    EXPECT_TRUE(Line(lines, 13).contains(QLatin1String("MODEL:    M?Z")));
    EXPECT_EQ(Line(lines, 8), Spaces(26) + "CORVEX I.D.:  ?R-004711");
    for (const QString& line : lines)
        for (QChar c : line)
            ASSERT_GE(c.unicode(), 0x20);
}

// Any 72424 bytes make a record; every one of them gives a whole report without NaN or infinity.
void ExpectWholeReport(const TZRTestRec& rec) {
    const QStringList lines = Report(rec);
    ASSERT_EQ(lines.size(), 5167);
    for (int n = 1; n <= lines.size(); ++n) {
        const QString& line = Line(lines, n);
        if (IsTableLine(n)) {
            ASSERT_EQ(line.size(), 72) << "line " << n;
        }
        ASSERT_FALSE(line.contains(QLatin1String("nan"), Qt::CaseInsensitive)) << "line " << n;
        ASSERT_FALSE(line.contains(QLatin1String("inf"), Qt::CaseInsensitive)) << "line " << n;
    }
    EXPECT_EQ(Line(lines, 5167), "END OF DATA");
}

TEST(ReportLines, ArbitraryBytesGiveAWholeReport) {
    QByteArray bytes(TEST_RECORD_SIZE, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131 + (i >> 7) * 17 + 7) & 0xFF);
    ExpectWholeReport(*RecordFromBytes(bytes));
    ExpectWholeReport(*RecordFromBytes(QByteArray(TEST_RECORD_SIZE, '\xFF')));
    ExpectWholeReport(*RecordFromBytes(QByteArray(TEST_RECORD_SIZE, '\x80')));
}

TEST(PrintableText, ReplacesControlCharactersOnly) {
    EXPECT_EQ(PrintableText(QStringLiteral("Caf\u00e9 A-1 (x)")), QStringLiteral("Caf\u00e9 A-1 (x)"));
    EXPECT_EQ(PrintableText(QStringLiteral("a\tb\nc\u007f\u0085")), QStringLiteral("a?b?c??"));
}

} // namespace
