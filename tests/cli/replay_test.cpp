// zrqtool replay: a trace written by zrqtool simulate --trace runs again to the same end, and a trace
// edited in one reply makes the run part from it at the event where it differs.
#include "cli/command.h"
#include "link/wiretrace.h"
#include "tests/cli/zrqrun.h"
#include "tests/support/recordbuilder.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class ReplayCommand : public ::testing::Test {
protected:
    void SetUp() override {
        simulated = Zrq({QStringLiteral("simulate"), Path("run.zrq"), QStringLiteral("--loads"),
                         QStringLiteral("25,100"), QStringLiteral("--trace"), Path("wire.txt")});
        ASSERT_EQ(simulated.status, 0) << simulated.err.toStdString();
        lines = QString::fromLatin1(ReadBytes(Path("wire.txt"))).split(QLatin1Char('\n'));
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Replays the trace with `edited` lines; expects the run and the trace to part at the event that
    // starts on line `line` (counted from 1) of the edited trace, where the program did something else.
    ZrqResult ExpectPartingAt(const QStringList& edited, qsizetype line, const QString& programDid) {
        WriteBytes(Path("edited.txt"), edited.join(QLatin1Char('\n')).toLatin1());
        const QList<TracedEvent> events = ParseWireTrace(edited);
        const auto at = std::find_if(events.begin(), events.end(),
                                     [line](const TracedEvent& e) { return e.line == line; });
        EXPECT_NE(at, events.end()) << "no event starts on line " << line;
        const ZrqResult r = Zrq({QStringLiteral("replay"), Path("edited.txt")});
        EXPECT_EQ(r.status, 3) << r.out.toStdString();
        EXPECT_TRUE(
            r.out.contains(QStringLiteral("part ways at event %1 of %2 (line %3 of %4):\n  the trace, at ")
                               .arg(at - events.begin() + 1)
                               .arg(events.size())
                               .arg(line)
                               .arg(Path("edited.txt"))))
            << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("\n    ") + edited[line - 1] + QLatin1Char('\n')));
        EXPECT_TRUE(r.out.contains(programDid)) << r.out.toStdString();
        return r;
    }
    // The line (from 1) of the `nth` (from 0) line that contains `text`.
    qsizetype LineOf(const QString& text, int nth = 0) const {
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].contains(text) && nth-- == 0)
                return i + 1;
        return 0;
    }

    QTemporaryDir dir;
    ZrqResult simulated;
    QStringList lines;
};

TEST_F(ReplayCommand, ASimulatedRunReplaysToTheSameEnd) {
    const ZrqResult r =
        Zrq({QStringLiteral("--trace"), Path("again.txt"), QStringLiteral("replay"), Path("wire.txt")});
    ASSERT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_TRUE(r.out.contains(QStringLiteral("loads 25, 100 ohms (as the trace shows)\n")));
    // The same loads downloaded, with the same results, and the commands in between.
    const QStringList loads = simulated.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(loads.size(), 2);
    for (const QString& load : loads)
        EXPECT_TRUE(r.out.contains(QStringLiteral(" downloaded ") + load.trimmed() + QLatin1Char('\n')))
            << load.toStdString();
    EXPECT_EQ(r.out.count(QStringLiteral(" send VW\n")), 2);
    EXPECT_TRUE(r.out.contains(QStringLiteral(" send ECGDJ20\n")));
    EXPECT_TRUE(
        r.out.endsWith(QStringLiteral("the test is done\nThe run reproduces the trace: all %1 events.\n")
                           .arg(ParseWireTrace(lines).size())));

    // Traced again, the replay makes the same calls with the same answers, at the trace's times.
    const QList<TracedEvent> original = ParseWireTrace(lines);
    const QList<TracedEvent> again =
        ParseWireTrace(QString::fromLatin1(ReadBytes(Path("again.txt"))).split(QLatin1Char('\n')));
    ASSERT_EQ(again.size(), original.size());
    for (qsizetype i = 0; i < original.size(); ++i) {
        const WireEvent& a = original[i].event;
        const WireEvent& b = again[i].event;
        ASSERT_TRUE(a.kind == b.kind && a.status == b.status && a.value == b.value && a.bytes == b.bytes &&
                    a.text == b.text)
            << "event " << i + 1;
        ASSERT_NEAR(again[i].milliseconds, original[i].milliseconds, 50) << "event " << i + 1;
    }
}

TEST_F(ReplayCommand, AReplyEditedOrLeftOutPartsTheRunFromTheTrace) {
    // The accessory reports 50 ohms on the 25-ohm step: the program tells it and shows the step again,
    // where the trace goes on with the purge before the discharge wait.
    const qsizetype reply = LineOf(QStringLiteral("41 31 90 13"), 1);
    QStringList wrong = lines;
    wrong[reply - 1].replace(QStringLiteral("41 31"), QStringLiteral("41 32"));
    EXPECT_TRUE(ExpectPartingAt(wrong, reply + 1, QStringLiteral("s, checks the link\n"))
                    .out.contains(QStringLiteral("box \"Load Configured Incorrectly\"")));

    // No acknowledgement of "VN" (the second reply): the start fails after the read window and closes
    // the link where the trace goes on with "RL".
    const qsizetype ack = LineOf(QStringLiteral(" RX "), 1);
    QStringList missing = lines;
    missing.remove(ack - 1, 2);
    EXPECT_TRUE(ExpectPartingAt(missing, ack, QStringLiteral("s, closes the link\n"))
                    .out.contains(QStringLiteral("box \"COMMUNICATION TIMEOUT\"")));

    // Told to test one load less than the trace did, the program closes where the trace goes on.
    const ZrqResult fewer =
        Zrq({QStringLiteral("replay"), Path("wire.txt"), QStringLiteral("--loads"), QStringLiteral("25")});
    EXPECT_EQ(fewer.status, 3);
    EXPECT_TRUE(fewer.out.contains(QStringLiteral("s, closes the link\n"))) << fewer.out.toStdString();
}

TEST_F(ReplayCommand, AStartWithoutStepsReplaysWithoutLoads) {
    // The technician cancelled the choice of loads: the link closes after the start.
    QStringList start = lines.mid(0, LineOf(QStringLiteral(" LINK ")) - 1);
    start << QStringLiteral("     1.100 CLOSE status 0");
    WriteBytes(Path("start.txt"), start.join(QLatin1Char('\n')).toLatin1());
    const ZrqResult r = Zrq({QStringLiteral("replay"), Path("start.txt")});
    EXPECT_EQ(r.status, 0) << r.out.toStdString();
    EXPECT_TRUE(
        r.out.contains(QStringLiteral("loads none (the trace shows none; give them with --loads)\n")));
}

TEST_F(ReplayCommand, UnreadableTracesAndWrongOptions) {
    WriteBytes(Path("empty.txt"), "# nothing here\n");
    for (const QString& path : {Path("missing.txt"), Path("empty.txt")}) {
        const ZrqResult r = Zrq({QStringLiteral("replay"), path});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("zrqtool: %1: ").arg(path))) << r.err.toStdString();
        EXPECT_EQ(r.out, QString());
    }
    for (const QStringList& options : {QStringList{QStringLiteral("--loads"), QStringLiteral("30")},
                                       QStringList{QStringLiteral("--loads")},
                                       QStringList{QStringLiteral("--energy"), QStringLiteral("100")}}) {
        const ZrqResult r = Zrq(QStringList{QStringLiteral("replay"), Path("wire.txt")} + options);
        EXPECT_EQ(r.status, 2) << options.join(' ').toStdString();
        EXPECT_EQ(r.out, QString());
    }
}

} // namespace
