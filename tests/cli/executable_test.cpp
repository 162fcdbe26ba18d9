// The real zrqtool executable: exit statuses and which stream gets what.
#include "tests/report/golden.h"
#include "tests/report/goldenrecords.h"
#include "tests/support/pdftools.h"
#include "tests/support/recordbuilder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun Exec(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(ZRQTOOL_PATH), args);
    ToolRun run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "zrqtool did not finish normally";
        return run;
    }
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST(ZrqToolExecutable, ExitStatuses) {
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("full.zrq"));
    WriteBytes(record, RecordBytes(*MakeFullRecord()));

    ToolRun r = Exec({QStringLiteral("report"), record});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_TRUE(SameText(ReadBytes(TestDataPath(QStringLiteral("report/full.txt"))), r.out));

    const QString csv = dir.filePath(QStringLiteral("full.csv"));
    r = Exec({QStringLiteral("csv"), record, csv});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(ReadBytes(csv), ReadBytes(TestDataPath(QStringLiteral("report/full.csv"))));

    r = Exec({QStringLiteral("report"), dir.filePath(QStringLiteral("missing.zrq"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, "zrqtool: " + dir.filePath(QStringLiteral("missing.zrq")).toUtf8() + ": no such file\n");

    r = Exec({});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("Usage: zrqtool"));

    r = Exec({QStringLiteral("--version")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "zrqtool (CorvexZR) " CORVEX_VERSION "\n");

    r = Exec({QStringLiteral("--help")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("Usage: zrqtool"));
    EXPECT_TRUE(r.err.isEmpty());
}

// zrqtool pdf draws with Qt Gui in a program whose other commands need only Qt Core.
TEST(ZrqToolExecutable, PdfExitStatuses) {
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("full.zrq"));
    WriteBytes(record, RecordBytes(*MakeFullRecord()));
    const QString profile = dir.filePath(QStringLiteral("bench.json"));
    WriteBytes(profile, R"({"name": "Bench", "settings": [{"selected": 200, "declared": {"50": 200}}]})");
    // The message is the last line: Qt may have warned about the environment before it.
    auto lastLine = [](const ToolRun& r) {
        const QStringList lines = QString::fromLocal8Bit(r.err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.last();
    };

    const QString out = dir.filePath(QStringLiteral("report.pdf"));
    ToolRun r = Exec({QStringLiteral("pdf"), record, out, QStringLiteral("--profile"), profile, QStringLiteral("--energy"),
                      QStringLiteral("200")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(ReadBytes(out).startsWith("%PDF-"));
    if (HasPoppler()) {
        EXPECT_TRUE(PdfText(out).contains(QStringLiteral("profile \"Bench\" at 200 J")));
    }

    const QString missing = dir.filePath(QStringLiteral("missing.zrq"));
    r = Exec({QStringLiteral("pdf"), missing, out});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(lastLine(r), QStringLiteral("zrqtool: ") + missing + QStringLiteral(": no such file"));
    const QString noFolder = dir.filePath(QStringLiteral("no/such/folder.pdf"));
    r = Exec({QStringLiteral("pdf"), record, noFolder});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(lastLine(r).startsWith(QStringLiteral("zrqtool: Cannot create file ") + noFolder)) << r.err.toStdString();
    r = Exec({QStringLiteral("pdf"), record, record});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(ReadBytes(record), RecordBytes(*MakeFullRecord()));
    r = Exec({QStringLiteral("pdf"), record, out, QStringLiteral("--profile"), QStringLiteral("no such profile.json"),
              QStringLiteral("--energy"), QStringLiteral("200")});
    EXPECT_EQ(r.status, 1);

    r = Exec({QStringLiteral("pdf"), record});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("Usage: zrqtool pdf FILE.zrq OUT.pdf"));
    r = Exec({QStringLiteral("pdf"), record, out, QStringLiteral("--profile"), profile});
    EXPECT_EQ(r.status, 2);
}

} // namespace
