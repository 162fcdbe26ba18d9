// zrqtool's commands run in-process: their output, their messages and their exit codes.
#include "tests/cli/zrqrun.h"
#include "tests/report/golden.h"
#include "tests/report/goldenrecords.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Result = ZrqResult;

class ZrqTool : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QString Save(const QString& name, const TZRTestRec& rec) const {
        const QString path = Path(name);
        WriteBytes(path, RecordBytes(rec));
        return path;
    }
    QByteArray Golden(const QString& name) const { return ReadBytes(TestDataPath(name)); }

    QTemporaryDir m_dir;
};

TEST_F(ZrqTool, ReportPrintsTheViewersReport) {
    for (const GoldenRecord& golden : GoldenRecords()) {
        const QString path = Save(golden.name + QStringLiteral(".zrq"), *golden.make());
        const Result r = Zrq({QStringLiteral("report"), path});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, QString());
        EXPECT_TRUE(SameText(Golden(QStringLiteral("report/%1.txt").arg(golden.name)), r.out.toUtf8()))
            << golden.name.toStdString();
    }
}

TEST_F(ZrqTool, CsvWritesTheViewersExport) {
    for (const GoldenRecord& golden : GoldenRecords()) {
        const QString path = Save(golden.name + QStringLiteral(".zrq"), *golden.make());
        const QString csv = Path(golden.name + QStringLiteral(".csv"));
        const Result r = Zrq({QStringLiteral("csv"), path, csv});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, QString());
        EXPECT_EQ(r.err, QString());
        EXPECT_TRUE(SameText(Golden(QStringLiteral("report/%1.csv").arg(golden.name)), ReadBytes(csv)))
            << golden.name.toStdString();
    }
}

TEST_F(ZrqTool, CsvReplacesAnExistingFile) {
    const QString path = Save(QStringLiteral("t.zrq"), *MakeLoad75Record());
    const QString csv = Path(QStringLiteral("out.csv"));
    WriteBytes(csv, QByteArray(500000, 'x'));
    EXPECT_EQ(Zrq({QStringLiteral("csv"), path, csv}).status, 0);
    EXPECT_EQ(ReadBytes(csv), Golden(QStringLiteral("report/load75.csv")));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 2); // no temporary file left
}

TEST_F(ZrqTool, InfoSummarisesTheTest) {
    const QString path = Save(QStringLiteral("full.zrq"), *MakeFullRecord());
    const Result r = Zrq({QStringLiteral("info"), path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, QString());
    // Energies and voltages corrected: 25 ohms by k = 2 on currents and energies, 75..175 ohms by
    // k = 1.5 .. 3.5 on voltages and energies. 4212.5 V and 6156.5 V are exact halves and round up;
    // 195.1 J * 1.5 and 201.9 J * 3.5 are single-precision values just above 292.65 and 706.65.
    EXPECT_TRUE(SameText("Analyzer ID:     ZR-004711\n"
                         "Date of test:    Sep 03, 2013\n"
                         "Time of test:    02:07:05 PM\n"
                         "Device ID:       BME-0042\n"
                         "Serial number:   SN 99-1234\n"
                         "Manufacturer:    Acme Medical\n"
                         "Model:           LifeKeeper 3\n"
                         "Facility:        General Hospital\n"
                         "Location:        ER Bay 4\n"
                         "Technician ID:   JD\n"
                         "Loads with data: 7 of 7\n"
                         "\n"
                         "Load       Actual load (ohms)  Energy (J)  Peak current (A)  Peak voltage (V)\n"
                         "25 ohms                 25.00       383.4             62.26              1537\n"
                         "50 ohms                 50.00       193.4             32.26              1574\n"
                         "75 ohms                 75.00       292.7             33.39              2417\n"
                         "100 ohms               100.00       393.6             34.52              3296\n"
                         "125 ohms               125.00       496.3             35.65              4213\n"
                         "150 ohms               150.00       600.6             36.78              5166\n"
                         "175 ohms               175.00       706.7             37.91              6157\n",
                         r.out.toUtf8()));
}

TEST_F(ZrqTool, InfoOfAnUntestedRecord) {
    const QString path = Save(QStringLiteral("empty.zrq"), *MakeEmptyRecord());
    const Result r = Zrq({QStringLiteral("info"), path});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(SameText("Analyzer ID:     (none)\n"
                         "Date of test:    Dec 30, 1899\n"
                         "Time of test:    12:00:00 AM\n"
                         "Device ID:       (none)\n"
                         "Serial number:   (none)\n"
                         "Manufacturer:    (none)\n"
                         "Model:           (none)\n"
                         "Facility:        (none)\n"
                         "Location:        (none)\n"
                         "Technician ID:   (none)\n"
                         "Loads with data: (none)\n",
                         r.out.toUtf8()));
}

struct BadInput {
    const char* name;
    const char* problem;
};

// Each command refuses each kind of bad input with one line naming the file, nothing on standard
// output, and status 1.
TEST_F(ZrqTool, BadInputGetsOneClearLine) {
    WriteBytes(Path(QStringLiteral("short.zrq")), QByteArray(100, '\0'));
    WriteBytes(Path(QStringLiteral("long.zrq")), QByteArray(TEST_RECORD_SIZE + 1, '\0'));
    WriteBytes(Path(QStringLiteral("one.zrq")), QByteArray(1, '\0'));
    WriteBytes(Path(QStringLiteral("empty.zrq")), QByteArray());
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("folder.zrq"))));
    const BadInput cases[] = {
        {"missing.zrq", "no such file"},
        {"folder.zrq", "is a folder, not a test record"},
        {"short.zrq", "holds 100 bytes where a test record holds 72424"},
        {"long.zrq", "holds 72425 bytes where a test record holds 72424"},
        {"one.zrq", "holds 1 byte where a test record holds 72424"},
        {"empty.zrq", "holds 0 bytes where a test record holds 72424"},
    };
    for (const BadInput& c : cases) {
        const QString path = Path(QLatin1String(c.name));
        const QString expected = QStringLiteral("zrqtool: %1: %2\n").arg(path, QLatin1String(c.problem));
        for (const QStringList& args :
             {QStringList{QStringLiteral("report"), path}, QStringList{QStringLiteral("info"), path},
              QStringList{QStringLiteral("csv"), path, Path(QStringLiteral("o.csv"))}}) {
            const Result r = Zrq(args);
            EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
            EXPECT_EQ(r.out, QString()) << args.join(' ').toStdString();
            EXPECT_EQ(r.err, expected) << args.join(' ').toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("o.csv"))));
}

TEST_F(ZrqTool, AnyFileOfTheRightSizeIsAccepted) {
    QByteArray bytes(TEST_RECORD_SIZE, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 251 + 13) & 0xFF);
    const QString path = Path(QStringLiteral("noise.zrq"));
    WriteBytes(path, bytes);
    const Result report = Zrq({QStringLiteral("report"), path});
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.out.count(QLatin1Char('\n')), 5167);
    EXPECT_FALSE(report.out.contains(QLatin1String("nan"), Qt::CaseInsensitive));
    EXPECT_FALSE(report.out.contains(QLatin1String("inf"), Qt::CaseInsensitive));
    const QString csv = Path(QStringLiteral("noise.csv"));
    EXPECT_EQ(Zrq({QStringLiteral("csv"), path, csv}).status, 0);
    EXPECT_EQ(ReadBytes(csv).count("\r\n"), 5133);
    EXPECT_EQ(Zrq({QStringLiteral("info"), path}).status, 0);
}

TEST_F(ZrqTool, CsvRefusesToReplaceTheRecordItself) {
    const QString path = Save(QStringLiteral("t.zrq"), *MakeFullRecord());
    const Result r = Zrq({QStringLiteral("csv"), path, path});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("zrqtool: ") + path + QStringLiteral(": ")))
        << r.err.toStdString();
    EXPECT_EQ(ReadBytes(path), RecordBytes(*MakeFullRecord()));
}

TEST_F(ZrqTool, CsvThatCannotBeWrittenIsReported) {
    const QString path = Save(QStringLiteral("t.zrq"), *MakeFullRecord());
    const QString folder = Path(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    Result r = Zrq({QStringLiteral("csv"), path, folder});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("zrqtool: Cannot create file ") + folder))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);

    const QString nowhere = Path(QStringLiteral("missing/out.csv"));
    r = Zrq({QStringLiteral("csv"), path, nowhere});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(nowhere)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(ZrqToolUsage, HelpAndVersion) {
    for (const char* help : {"--help", "-h", "help"}) {
        const Result r = Zrq({QLatin1String(help)});
        EXPECT_EQ(r.status, 0) << help;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage: zrqtool "))) << help;
        EXPECT_EQ(r.err, QString());
        for (const Command& c : Commands())
            EXPECT_TRUE(r.out.contains(
                QStringLiteral("  %1 %2").arg(QLatin1String(c.name), QLatin1String(c.arguments))))
                << c.name;
    }
    const Result version = Zrq({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("zrqtool (CorvexZR) " CORVEX_VERSION "\n"));

    const Result commandHelp = Zrq({QStringLiteral("csv"), QStringLiteral("--help")});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_TRUE(commandHelp.out.startsWith(QStringLiteral("Usage: zrqtool csv FILE.zrq OUT.csv\n")));
}

TEST(ZrqToolUsage, WrongUsagePrintsTheUsageAndExitsWithTwo) {
    const QStringList cases[] = {
        {},
        {QStringLiteral("print"), QStringLiteral("a.zrq")},
        {QStringLiteral("--frobnicate")},
        {QStringLiteral("report")},
        {QStringLiteral("report"), QStringLiteral("a.zrq"), QStringLiteral("b.zrq")},
        {QStringLiteral("csv"), QStringLiteral("a.zrq")},
        {QStringLiteral("info"), QStringLiteral("--long"), QStringLiteral("a.zrq")},
    };
    for (const QStringList& args : cases) {
        const Result r = Zrq(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, QString()) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage: zrqtool"))) << args.join(' ').toStdString();
    }
    EXPECT_TRUE(
        Zrq({QStringLiteral("print")}).err.startsWith(QStringLiteral("zrqtool: unknown command 'print'\n")));
    EXPECT_TRUE(
        Zrq({QStringLiteral("report")}).err.startsWith(QStringLiteral("zrqtool report: expects FILE.zrq\n")));
}

TEST_F(ZrqTool, DoubleDashEndsTheOptions) {
    Save(QStringLiteral("-odd name.zrq"), *MakeFullRecord());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const Result r = Zrq({QStringLiteral("report"), QStringLiteral("--"), QStringLiteral("-odd name.zrq")});
    QDir::setCurrent(previous);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), 5167);
}

TEST_F(ZrqTool, TraceNeedsAFileThatCanBeWrittenAndACommand) {
    Result r = Zrq({QStringLiteral("--trace")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("zrqtool: --trace expects FILE and a command\n")));
    r = Zrq({QStringLiteral("--trace"), Path(QStringLiteral("t.txt"))});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("t.txt"))));

    const QString unwritable = Path(QStringLiteral("no/such/folder/t.txt"));
    r = Zrq({QStringLiteral("--trace"), unwritable, QStringLiteral("probe")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("zrqtool: %1: cannot write the trace: ").arg(unwritable)));
}

TEST(ZrqToolUsage, ProbeIsListedWithItsExitCodes) {
    const Result r = Zrq({QStringLiteral("--help")});
    EXPECT_TRUE(r.out.contains(QStringLiteral("[--trace FILE] COMMAND")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("  probe ")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("exit 3: not found, 4: not opened")));
}

} // namespace
