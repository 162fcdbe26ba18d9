// The simulated analyzer's own behaviour as the demo program's Simulator window sees it: real time,
// and what it tells its observers.
#include "sim/simulatedanalyzer.h"
#include "sim/virtualclock.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr char Description[] = "Corvex Defib Tester Final";

FtStatus Send(SimulatedAnalyzer& sim, FtHandle handle, const QByteArray& command) {
    uint32_t written = 0;
    return sim.Write(handle, command.constData(), static_cast<uint32_t>(command.size()), written);
}

TEST(SimulatedAnalyzerTest, InRealTimeTheReplyTakesItsProcessingDelay) {
    SimulatedAnalyzer sim; // no virtual clock: the steady clock
    SimTiming timing;
    timing.bytesPerSecond = 0;
    timing.replyDelayMicroseconds = 5000;
    sim.SetTiming(timing);
    FtHandle handle = FtHandle::Null;
    ASSERT_EQ(sim.OpenEx(Description, FtOpenByDescription, handle), FtOK);
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_EQ(Send(sim, handle, "GS\r"), FtOK);
    uint32_t waiting = 0;
    ASSERT_EQ(sim.GetQueueStatus(handle, waiting), FtOK);
    EXPECT_EQ(waiting, 0u);
    while (waiting < 37 && elapsed.elapsed() < 2000) {
        QThread::msleep(1);
        sim.GetQueueStatus(handle, waiting);
    }
    EXPECT_EQ(waiting, 37u);
    EXPECT_GE(elapsed.nsecsElapsed(), 5'000'000);
}

TEST(SimulatedAnalyzerTest, ObserversHearCommandsStatesAndDischarges) {
    VirtualClock clock;
    SimulatedAnalyzer sim(&clock);
    QList<QByteArray> commands;
    QList<SimState> states;
    double joules = 0;
    QObject::connect(&sim, &SimulatedAnalyzer::CommandReceived, [&](const QByteArray& c) { commands << c; });
    QObject::connect(&sim, &SimulatedAnalyzer::StateChanged, [&](SimState s) { states << s; });
    QObject::connect(&sim, &SimulatedAnalyzer::Discharged, [&](double j) { joules = j; });
    FtHandle handle = FtHandle::Null;
    ASSERT_EQ(sim.OpenEx(Description, FtOpenByDescription, handle), FtOK);
    Send(sim, handle, "DEHT\r");
    EXPECT_TRUE(sim.Discharge());
    clock.Advance(2'000'000);
    uint32_t waiting = 0;
    sim.GetQueueStatus(handle, waiting);
    EXPECT_EQ(commands, QList<QByteArray>{"DEHT"});
    EXPECT_EQ(states, (QList<SimState>{SimState::WaitingForDischarge, SimState::Measuring, SimState::Idle}));
    EXPECT_NEAR(joules, sim.LastBlock().TotalEnergy / 10.0, 1e-9);
    EXPECT_GT(joules, 80.0); // the analyzer's share of about 200 J into 25 ohms (jumpers A1)
}

TEST(SimulatedAnalyzerTest, OnlyTheAnalyzerIsFoundAndOnlyOnce) {
    VirtualClock clock;
    SimulatedAnalyzer sim(&clock);
    FtHandle handle = FtHandle::Null;
    EXPECT_EQ(sim.OpenEx("FT232R USB UART", FtOpenByDescription, handle), FtDeviceNotFound);
    EXPECT_EQ(sim.OpenEx(Description, 1, handle), FtDeviceNotFound); // by serial number: no
    ASSERT_EQ(sim.OpenEx(Description, FtOpenByDescription, handle), FtOK);
    FtHandle second = FtHandle::Null;
    EXPECT_EQ(sim.OpenEx(Description, FtOpenByDescription, second), FtDeviceNotOpened);
    EXPECT_EQ(second, FtHandle::Null);
    EXPECT_EQ(sim.Close(handle), FtOK);
    EXPECT_EQ(sim.Close(handle), FtInvalidHandle);
    uint32_t rx = 0, tx = 0, event = 0xFFFFFFFF;
    EXPECT_EQ(sim.GetStatus(handle, rx, tx, event), FtInvalidHandle);
    EXPECT_EQ(event, 0xFFFFFFFFu); // untouched
}

} // namespace
