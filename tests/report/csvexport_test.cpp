// The CSV export: its shape, its fields, loads without data, the locale, and the atomic file write.
#include "report/csvexport.h"
#include "base/formatfield.h"
#include "tests/report/golden.h"
#include "tests/report/goldenrecords.h"
#include "tests/support/filefaults.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Csv(const TZRTestRec& rec, const QLocale& locale = QLocale::c()) {
    return BuildCsv(rec, ComputeLoadResultsTable(rec), locale);
}

// The lines without their CR LF; fails the test when a line ends otherwise.
QList<QByteArray> CsvLines(const QByteArray& csv) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < csv.size()) {
        const qsizetype end = csv.indexOf("\r\n", start);
        if (end < 0) {
            ADD_FAILURE() << "the last line has no CR LF";
            break;
        }
        lines << csv.mid(start, end - start);
        start = end + 2;
    }
    return lines;
}

// The fields of a line, each of which must be quoted. Split at the quotes, not at the commas: a
// decimal comma lies inside a field.
QList<QByteArray> Fields(const QByteArray& line) {
    QList<QByteArray> fields;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i] != '"') {
            ADD_FAILURE() << "field does not start with a quote at " << i << " in " << line.toStdString();
            return fields;
        }
        const qsizetype close = line.indexOf('"', i + 1);
        if (close < 0) {
            ADD_FAILURE() << "unclosed field in " << line.toStdString();
            return fields;
        }
        fields << line.mid(i + 1, close - i - 1);
        i = close + 1;
        if (i < line.size()) {
            if (line[i] != ',') {
                ADD_FAILURE() << "no comma after a field in " << line.toStdString();
                return fields;
            }
            ++i;
            if (i == line.size())
                ADD_FAILURE() << "a comma ends " << line.toStdString();
        }
    }
    return fields;
}

QByteArray Field(double value, int width, int decimals, const QLocale& locale = QLocale::c()) {
    return FormatField(value, width, decimals, locale).toLatin1();
}

TEST(Csv, HasTheFixedShape) {
    const auto rec = MakeFullRecord();
    const QByteArray csv = Csv(*rec);
    ASSERT_TRUE(csv.endsWith("\r\n"));
    EXPECT_EQ(csv.count('\n'), 5133);
    EXPECT_EQ(csv.count("\r\n"), 5133); // no bare line feeds
    const QList<QByteArray> lines = CsvLines(csv);
    ASSERT_EQ(lines.size(), 5133);
    EXPECT_EQ(lines[0], R"csv("TEST LOAD","25","50","75","100","125","150","175")csv");
    const char* labels[] = {"ACTUAL LOAD (ohms)",       "DISCHARGE ENERGY (J)",    "PEAK (+) VOLTAGE (volts)",
                            "PEAK (+) CURRENT (Amps)",  "WIDTH (+) @ 10% (msec)",  "WIDTH (+) @ 50% (msec)",
                            "PEAK (-) VOLTAGE (volts)", "PEAK (-) CURRENT (Amps)", "WIDTH (-) @ 10% (msec)"};
    for (int i = 0; i < 9; ++i) {
        const QList<QByteArray> fields = Fields(lines[1 + i]);
        ASSERT_EQ(fields.size(), 8) << "line " << i + 2;
        EXPECT_EQ(fields[0], labels[i]);
    }
    EXPECT_EQ(lines[10], R"csv("WIDTH (-) @ 50% (msec)")csv");
    EXPECT_EQ(lines[11], R"csv("WIDTH TOTAL @ 10% (msec)")csv");
    EXPECT_EQ(lines[12], R"csv("TIME (msec)","WAVEFORM DATA")csv");
    for (int n = 13; n < 5133; ++n)
        ASSERT_EQ(Fields(lines[n]).size(), 8) << "line " << n + 1;
    EXPECT_EQ(Fields(lines[13])[0], " 0.0000");
    EXPECT_EQ(Fields(lines[5132])[0], "58.3566");
    EXPECT_FALSE(csv.contains(' ' + QByteArray(",")));
    EXPECT_FALSE(csv.contains(QByteArray(",") + ' '));
}

TEST(Csv, ValuesAreTheCorrectedResults) {
    const auto rec = MakeFullRecord();
    const QList<QByteArray> lines = CsvLines(Csv(*rec));
    struct Row {
        int line;
        int value;
        int decimals;
    };
    const Row rows[] = {{2, lrActualLoad, 2},   {3, lrTotalEnergy, 1},  {4, lrPeakVoltage1, 0},
                        {5, lrPeakCurrent1, 2}, {6, lrWidth10_1, 2},    {7, lrWidth50_1, 2},
                        {8, lrPeakVoltage2, 0}, {9, lrPeakCurrent2, 2}, {10, lrWidth10_2, 2}};
    for (int load = 0; load < LOAD_COUNT; ++load) {
        const TLoadResults r = ComputeLoadResults(rec->Loads[load], load);
        for (const Row& row : rows)
            EXPECT_EQ(Fields(lines[row.line - 1])[1 + load], Field(r[row.value], 5, row.decimals))
                << "line " << row.line << " load " << load;
        const TSampleAmps amps = SampleToAmps(rec->Loads[load], r);
        for (int j : {0, 20, 21, 700, 5119})
            EXPECT_EQ(Fields(lines[13 + j])[1 + load], Field(amps[j], 5, 2)) << "sample " << j;
    }
    // Hand-checked: load 0 is corrected by k = 2 (see the report test), load 6 by k = 3.5.
    EXPECT_EQ(Fields(lines[1])[1], "25.00");
    EXPECT_EQ(Fields(lines[2])[1], "383.4");
    EXPECT_EQ(Fields(lines[3])[7], " 6157");
    EXPECT_EQ(lines[13], R"csv(" 0.0000"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00")csv");
}

TEST(Csv, LoadsWithoutDataExportZeros) {
    auto rec = std::make_unique<TZRTestRec>();
    FillLoad(*rec, 3, 2, 5000, 5000); // only 100 ohms
    const QList<QByteArray> lines = CsvLines(Csv(*rec));
    ASSERT_EQ(lines.size(), 5133);
    const QByteArray zeros[] = {" 0.00", "  0.0", "    0", " 0.00", " 0.00",
                                " 0.00", "    0", " 0.00", " 0.00"};
    for (int i = 0; i < 9; ++i) {
        const QList<QByteArray> fields = Fields(lines[1 + i]);
        for (int load = 0; load < LOAD_COUNT; ++load) {
            if (load == 3)
                EXPECT_NE(fields[1 + load], zeros[i]) << "line " << i + 2;
            else
                EXPECT_EQ(fields[1 + load], zeros[i]) << "line " << i + 2 << " load " << load;
        }
    }
    for (int n = 13; n < 5133; ++n) {
        const QList<QByteArray> fields = Fields(lines[n]);
        for (int load = 0; load < LOAD_COUNT; ++load) {
            if (load != 3) {
                ASSERT_EQ(fields[1 + load], " 0.00") << "line " << n + 1;
            }
        }
    }
}

TEST(Csv, RecordWithoutDataHasTheSameShape) {
    const auto rec = MakeEmptyRecord();
    const QByteArray csv = Csv(*rec);
    const QList<QByteArray> lines = CsvLines(csv);
    ASSERT_EQ(lines.size(), 5133);
    EXPECT_EQ(lines[1],
              R"csv("ACTUAL LOAD (ohms)"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00")csv");
    EXPECT_EQ(lines[2],
              R"csv("DISCHARGE ENERGY (J)","  0.0","  0.0","  0.0","  0.0","  0.0","  0.0","  0.0")csv");
    EXPECT_EQ(lines[3],
              R"csv("PEAK (+) VOLTAGE (volts)","    0","    0","    0","    0","    0","    0","    0")csv");
    EXPECT_EQ(lines[5132], R"csv("58.3566"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00"," 0.00")csv");
}

TEST(Csv, EdgeValuesAreCutAsInTheReport) {
    const auto rec = MakeEdgeRecord();
    const QList<QByteArray> lines = CsvLines(Csv(*rec));
    EXPECT_EQ(Fields(lines[2])[2], " 1234"); // 1234.5 J
    EXPECT_EQ(Fields(lines[1])[7], "175.4");
    EXPECT_EQ(Fields(lines[1])[3], " 0.00"); // the 75 ohm load holds fields but no data
    EXPECT_EQ(Fields(lines[3])[3], "    0");
}

TEST(Csv, DecimalCommaStaysInsideTheQuotes) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const auto rec = MakeEdgeRecord();
    const QByteArray csv = Csv(*rec, german);
    const QList<QByteArray> lines = CsvLines(csv);
    ASSERT_EQ(lines.size(), 5133);
    EXPECT_EQ(Fields(lines[1])[2], "49,87");
    EXPECT_EQ(Fields(lines[2])[2], "1234,");
    EXPECT_EQ(Fields(lines[13])[0], " 0,0000");
    for (int n = 13; n < 5133; ++n)
        ASSERT_EQ(Fields(lines[n]).size(), 8) << "line " << n + 1;
    for (int n = 13; n < 5133; ++n)
        ASSERT_FALSE(lines[n].contains('.')) << "line " << n + 1;
}

TEST(Csv, SeparatorOutsideLatin1BecomesAFullStop) {
    const QList<QByteArray> lines =
        CsvLines(Csv(*MakeFullRecord(), QLocale(QLocale::Arabic, QLocale::Egypt)));
    ASSERT_EQ(lines.size(), 5133);
    EXPECT_EQ(Fields(lines[1])[1], "25.00");
    EXPECT_EQ(Fields(lines[5132])[0], "58.3566");
}

TEST(Csv, ArbitraryBytesGiveAWholeFile) {
    QByteArray bytes(TEST_RECORD_SIZE, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 197 + (i >> 5) + 3) & 0xFF);
    const QByteArray csv = Csv(*RecordFromBytes(bytes));
    const QList<QByteArray> lines = CsvLines(csv);
    ASSERT_EQ(lines.size(), 5133);
    for (int n = 13; n < 5133; ++n)
        ASSERT_EQ(Fields(lines[n]).size(), 8) << "line " << n + 1;
    EXPECT_FALSE(csv.toLower().contains("nan"));
    EXPECT_FALSE(csv.toLower().contains("inf"));
}

class CsvFile : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(CsvFile, WritesTheBytesAndReplacesAnOlderFile) {
    const QString path = Path(QStringLiteral("out.csv"));
    WriteBytes(path, QByteArray(100000, 'x'));
    const QByteArray csv = Csv(*MakeFullRecord());
    EXPECT_NO_THROW(WriteCsvFile(path, csv));
    EXPECT_EQ(ReadBytes(path), csv);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.csv")});
}

// The message of a failed write, or an empty text when it succeeded.
QString WriteFailure(const QString& path, const QByteArray& csv = "x\r\n") {
    try {
        WriteCsvFile(path, csv);
    } catch (const EFileError& error) {
        return QString::fromLocal8Bit(error.what());
    }
    return QString();
}

TEST_F(CsvFile, FailureNamesTheFileAndLeavesNothingBehind) {
    const QString folder = Path(QStringLiteral("a folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString problem = WriteFailure(folder);
    EXPECT_TRUE(problem.startsWith(QStringLiteral("Cannot create file ") + folder)) << problem.toStdString();
    EXPECT_FALSE(problem.contains(QLatin1Char('\n')));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    const QString missing = Path(QStringLiteral("no such folder/out.csv"));
    EXPECT_TRUE(WriteFailure(missing).startsWith(QStringLiteral("Cannot create file ") + missing));
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
}

TEST_F(CsvFile, ReadOnlyFolderTakesTheExportInAWritableFileOnly) {
    const QString path = Path(QStringLiteral("out.csv"));
    WriteBytes(path, "previous\r\n");
    const QByteArray csv = Csv(*MakeFullRecord());
    ReadOnlyFolder readOnly(m_dir.path());
    SetWritableByEveryone(path, false);
    EXPECT_EQ(RunWithoutPrivileges([&] {
                  return WriteFailure(path, csv).startsWith(QStringLiteral("Cannot create file ") + path) ? 1
                                                                                                          : 2;
              }),
              1);
    EXPECT_EQ(ReadBytes(path), "previous\r\n");
    SetWritableByEveryone(path, true);
    EXPECT_EQ(RunWithoutPrivileges([&] { return WriteFailure(path, csv).isEmpty() ? 1 : 2; }), 1);
    EXPECT_EQ(ReadBytes(path), csv);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.csv")});
}

TEST(Csv, LoadsWithoutDataExportZerosWhateverTheTableHolds) {
    // A table computed before a load's flag was cleared still exports zeros for that load.
    auto rec = MakeFullRecord();
    const TLoadResultsTable table = ComputeLoadResultsTable(*rec);
    rec->Loads[5].HasData = 0;
    const QList<QByteArray> lines = CsvLines(BuildCsv(*rec, table, QLocale::c()));
    EXPECT_EQ(Fields(lines[1])[6], " 0.00");
    EXPECT_NE(Fields(lines[1])[5], " 0.00");
    EXPECT_EQ(Fields(lines[13 + 20])[6], " 0.00");
}

} // namespace
