// The real zrqtool executable: exit statuses and which stream gets what.
#include "tests/report/golden.h"
#include "tests/report/goldenrecords.h"
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

} // namespace
