// zrqtool simulate: a whole test run by the sequencer against the simulated analyzer, saved as a record.
#include "link/wiretrace.h"
#include "records/loadresults.h"
#include "tests/cli/zrqrun.h"
#include "tests/support/recordbuilder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using SimRunResult = ZrqResult;

SimRunResult Simulate(const QStringList& args) {
    return Zrq(QStringList{QStringLiteral("simulate")} + args);
}

class SimulateCommand : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    std::unique_ptr<TZRTestRec> Load(const char* name) const {
        auto rec = std::make_unique<TZRTestRec>();
        EXPECT_EQ(rec->LoadTestFile(Path(name)), 0);
        return rec;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SimulateCommand, AllSevenLoadsByDefault) {
    const SimRunResult r =
        Simulate({Path("all.zrq"), QStringLiteral("--device-id"), QStringLiteral("BME-7")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), 7);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral(" 25 ohms: actual load")));
    auto rec = Load("all.zrq");
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QStringLiteral("BME-7"));
    for (int load = 0; load < LOAD_COUNT; ++load) {
        SCOPED_TRACE(load);
        ASSERT_EQ(rec->Loads[load].HasData, 1);
        const TLoadResults results = ComputeLoadResults(rec->Loads[load], load);
        // The corrected values describe the nominal load and the 200 J the device was set to.
        EXPECT_NEAR(results[lrActualLoad], LoadOhms(load), LoadOhms(load) * 0.02);
        EXPECT_NEAR(results[lrTotalEnergy], 200.0, 20.0);
    }
}

TEST_F(SimulateCommand, ChosenLoadsWaveformAndEnergy) {
    const SimRunResult r = Simulate({Path("two.zrq"), QStringLiteral("--loads"), QStringLiteral("50,150"),
                                     QStringLiteral("--waveform"), QStringLiteral("mds"),
                                     QStringLiteral("--energy"), QStringLiteral("100")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    auto rec = Load("two.zrq");
    for (int load = 0; load < LOAD_COUNT; ++load)
        EXPECT_EQ(rec->Loads[load].HasData, load == 1 || load == 5 ? 1 : 0) << load;
    EXPECT_NEAR(ComputeLoadResults(rec->Loads[1], 1)[lrTotalEnergy], 100.0, 10.0);
    EXPECT_FALSE(rec->GetDeviceInfo(diDeviceID).isEmpty()); // a record always names its device
}

TEST_F(SimulateCommand, SeedsGiveDifferentButRepeatableDevices) {
    ASSERT_EQ(Simulate({Path("a.zrq"), QStringLiteral("--seed"), QStringLiteral("7")}).status, 0);
    ASSERT_EQ(Simulate({Path("b.zrq"), QStringLiteral("--seed"), QStringLiteral("7")}).status, 0);
    ASSERT_EQ(Simulate({Path("c.zrq"), QStringLiteral("--seed"), QStringLiteral("8")}).status, 0);
    EXPECT_EQ(ReadBytes(Path("a.zrq")), ReadBytes(Path("b.zrq")));
    EXPECT_NE(ReadBytes(Path("a.zrq")), ReadBytes(Path("c.zrq")));
}

TEST_F(SimulateCommand, TraceRecordsTheExchange) {
    const SimRunResult r = Simulate({Path("t.zrq"), QStringLiteral("--loads"), QStringLiteral("75"),
                                     QStringLiteral("--trace"), Path("wire.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray trace = ReadBytes(Path("wire.txt"));
    EXPECT_TRUE(trace.contains("DEHT"));
    EXPECT_TRUE(trace.contains("VW"));
    // Time stamps in the simulation's own time: from zero, never backwards, across the discharge wait.
    const QList<TracedEvent> events = ParseWireTrace(QString::fromLatin1(trace).split(QLatin1Char('\n')));
    ASSERT_FALSE(events.isEmpty());
    EXPECT_GE(events.first().milliseconds, 0);
    for (qsizetype i = 1; i < events.size(); ++i)
        ASSERT_GE(events[i].milliseconds, events[i - 1].milliseconds) << "event " << i;
    EXPECT_GE(events.last().milliseconds, 4000) << "the simulated technician fires after 4 s";
}

TEST_F(SimulateCommand, BadOptionsAreUsageErrors) {
    for (const QStringList& args :
         {QStringList{Path("x.zrq"), QStringLiteral("--loads"), QStringLiteral("30")},
          QStringList{Path("x.zrq"), QStringLiteral("--waveform"), QStringLiteral("square")},
          QStringList{Path("x.zrq"), QStringLiteral("--energy"), QStringLiteral("-5")},
          QStringList{Path("x.zrq"), QStringLiteral("--colour"), QStringLiteral("red")},
          QStringList{Path("x.zrq"), QStringLiteral("--seed")}}) {
        const SimRunResult r = Simulate(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(Path("x.zrq")));
}

TEST_F(SimulateCommand, UnwritableOutputFails) {
    const SimRunResult r =
        Simulate({Path("missing/folder/x.zrq"), QStringLiteral("--loads"), QStringLiteral("25")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Cannot create file")));
}
