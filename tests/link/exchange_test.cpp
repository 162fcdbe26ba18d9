// Whole exchanges with the simulated analyzer through the transport, in virtual time, with faults.
#include "tests/link/simfixture.h"
#include "tests/support/qtprinters.h"

#include "records/loadresults.h"
#include "records/tzrtestrec.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// --- the start handshake

TEST_F(SimExchangeTest, HandshakeReadsStatusConnectsAccessoryAndQueriesTheLoad) {
    sim.SetAnalyzerID("CVX-0042");
    sim.SetStatusDate(DateStamp{5, 4, 13, 7, 12, 26});
    Open();
    TZRTestRec rec;
    ASSERT_EQ(link.QueryStatus(rec.AnalyzerStatus).Ok(), true);
    EXPECT_EQ(rec.AnalyzerID(), "CVX-0042");
    EXPECT_EQ(rec.TestDateTime().Day, 7);
    EXPECT_EQ(rec.TestDateTime().Year, 26);

    int r = 0;
    EXPECT_TRUE(IsAcknowledgement(Ask(CmdAccessoryConnect, AckReplySize, &r)));
    EXPECT_EQ(r, 0);
    TheClock().Sleep(1000);
    const ReplyBuffer config = Ask(CmdLoadConfig, LoadConfigReplySize, &r);
    EXPECT_EQ(r, 0);
    EXPECT_FALSE(IsAccessoryNotConnectedText(config));
    EXPECT_TRUE(IsLoadConfigured(0, config[0], config[1]));
    EXPECT_EQ(AccessoryResistanceOf(config), sim.Accessory().resistances[0]);
    EXPECT_EQ(sim.Commands(), (QList<QByteArray>{"GS", "VN", "RL"}));
}

TEST_F(SimExchangeTest, AccessoryWithoutCableAnswersXX) {
    sim.Accessory().cableConnected = false;
    Open();
    EXPECT_TRUE(IsAcknowledgement(Ask(CmdAccessoryConnect, AckReplySize)));
    const ReplyBuffer config = Ask(CmdLoadConfig, LoadConfigReplySize);
    EXPECT_TRUE(IsAccessoryNotConnectedText(config));
    EXPECT_TRUE(IsAccessoryNotConnected(config[0], config[1]));
}

TEST_F(SimExchangeTest, AccessoryWhoseCableWasPulledAnswersOnlyAfterVN) {
    Open();
    EXPECT_FALSE(IsAccessoryNotConnectedText(Ask(CmdLoadConfig, LoadConfigReplySize)));
    sim.Accessory().cableConnected = false;
    EXPECT_TRUE(IsAccessoryNotConnectedText(Ask(CmdLoadConfig, LoadConfigReplySize)));
    sim.Accessory().cableConnected = true;
    EXPECT_TRUE(IsAccessoryNotConnectedText(Ask(CmdLoadConfig, LoadConfigReplySize)));
    EXPECT_TRUE(IsAcknowledgement(Ask(CmdAccessoryConnect, AckReplySize)));
    EXPECT_FALSE(IsAccessoryNotConnectedText(Ask(CmdLoadConfig, LoadConfigReplySize)));
}

TEST_F(SimExchangeTest, UnpluggedAnalyzerIsNotFound) {
    sim.Unplug();
    EXPECT_EQ(link.Open(), LinkError::NotDetected);
    sim.Plug();
    EXPECT_EQ(link.Open(), LinkError::None);
}

TEST_F(SimExchangeTest, StatusWithoutReplyClosesTheLinkAfterTheWindow) {
    sim.InjectFault(SimFault::NoReply("GS"));
    Open();
    uint8_t status[StatusReplySize] = {};
    const int64_t start = clock.Microseconds();
    EXPECT_EQ(link.QueryStatus(status).Ok(), false);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_NEAR(ElapsedSeconds(start), 4.0, 0.01);
    // A second start opens the analyzer again and succeeds.
    Open();
    EXPECT_EQ(link.QueryStatus(status).Ok(), true);
}

TEST_F(SimExchangeTest, StatusTwoSecondsLateIsAcceptedFiveIsNot) {
    Open();
    uint8_t status[StatusReplySize] = {};
    sim.InjectFault(SimFault::LateReply("GS", 2000));
    EXPECT_EQ(link.QueryStatus(status).Ok(), true);
    sim.InjectFault(SimFault::LateReply("GS", 5000));
    EXPECT_EQ(link.QueryStatus(status).Ok(), false);
}

TEST_F(SimExchangeTest, ShortStatusFails) {
    sim.InjectFault(SimFault::ShortReply("GS", 36));
    Open();
    uint8_t status[StatusReplySize] = {};
    EXPECT_EQ(link.QueryStatus(status).Ok(), false);
}

TEST_F(SimExchangeTest, GarbledOrShortAcknowledgementsAreTold) {
    Open();
    int r = 0;
    sim.InjectFault(SimFault::Garbage("VN"));
    EXPECT_FALSE(IsAcknowledgement(Ask(CmdAccessoryConnect, AckReplySize, &r)));
    EXPECT_EQ(r, 0);
    sim.InjectFault(SimFault::Reply("VN", "**"));
    EXPECT_FALSE(IsAcknowledgement(Ask(CmdAccessoryConnect, AckReplySize)));
    sim.InjectFault(SimFault::ShortReply("VN", 1));
    Ask(CmdAccessoryConnect, AckReplySize, &r);
    EXPECT_EQ(r, -1);
    UsbPurge(link);
    EXPECT_TRUE(IsAcknowledgement(Ask(CmdAccessoryConnect, AckReplySize)));
}

// --- steps and configuration

TEST_F(SimExchangeTest, StepCommandsAreAcknowledgedAtWireSpeed) {
    Open();
    const int64_t start = clock.Microseconds();
    EXPECT_TRUE(IsAcknowledgement(Ask(StepCommand(0), AckReplySize)));
    // 3 ms processing, then two bytes at 960 bytes a second.
    EXPECT_NEAR(ElapsedSeconds(start), 0.003 + 2 / 960.0, 0.0005);
    EXPECT_TRUE(IsAcknowledgement(Ask(StepCommand(4), AckReplySize)));
    EXPECT_EQ(sim.Commands(), (QList<QByteArray>{"ECGDJ20", "ECGDJ10"}));
}

TEST_F(SimExchangeTest, StepCommandWithoutReplyRunsOutOfTheWindow) {
    sim.InjectFault(SimFault::NoReply("ECGDJ10"));
    Open();
    int r = 0;
    Ask(StepCommand(1), AckReplySize, &r);
    EXPECT_EQ(r, -1);
}

TEST_F(SimExchangeTest, ConfigurationFollowsTheJumpers) {
    Open();
    Ask(CmdAccessoryConnect, AckReplySize);
    for (int load = 0; load < LOAD_COUNT; ++load) {
        sim.Accessory().SetJumpersForLoad(load);
        UsbPurge(link);
        const ReplyBuffer config = Ask(CmdLoadConfig, LoadConfigReplySize);
        EXPECT_TRUE(IsLoadConfigured(load, config[0], config[1])) << load;
        EXPECT_EQ(AccessoryResistanceOf(config), sim.Accessory().resistances[load]) << load;
    }
}

TEST_F(SimExchangeTest, ConfigurationCanFollowTheLoadUnderTest) {
    int loadUnderTest = 5;
    sim.FollowLoad([&] { return loadUnderTest; });
    Open();
    Ask(CmdAccessoryConnect, AckReplySize);
    ReplyBuffer config = Ask(CmdLoadConfig, LoadConfigReplySize);
    EXPECT_TRUE(IsLoadConfigured(5, config[0], config[1]));
    loadUnderTest = 1;
    config = Ask(CmdLoadConfig, LoadConfigReplySize);
    EXPECT_TRUE(IsLoadConfigured(1, config[0], config[1]));
}

TEST_F(SimExchangeTest, WrongConfigurationIsDescribed) {
    Open();
    Ask(CmdAccessoryConnect, AckReplySize);
    sim.Accessory().bank = 'B';
    sim.Accessory().resistance = '3';
    const ReplyBuffer config = Ask(CmdLoadConfig, LoadConfigReplySize);
    EXPECT_FALSE(IsLoadConfigured(0, config[0], config[1]));
    EXPECT_EQ(DescribeLoadConfig(config[0], config[1]), "Resistance: 75 Ohms\nBank: Bank B \nError code: B3");
}

TEST_F(SimExchangeTest, XXTwiceThenTheAccessoryAnswers) {
    sim.Accessory().SetJumpersForLoad(2);
    sim.InjectFault(SimFault::AccessoryNotConnected(2));
    Open();
    Ask(CmdAccessoryConnect, AckReplySize);
    int queries = 0;
    ReplyBuffer config;
    do {
        UsbPurge(link);
        config = Ask(CmdLoadConfig, LoadConfigReplySize);
        ++queries;
        if (IsAccessoryNotConnected(config[0], config[1])) {
            EXPECT_TRUE(IsAcknowledgement(Ask(CmdAccessoryConnect, AckReplySize)));
        }
    } while (IsAccessoryNotConnected(config[0], config[1]) && queries < 3);
    EXPECT_EQ(queries, 3);
    EXPECT_TRUE(IsLoadConfigured(2, config[0], config[1]));
}

// --- the discharge

TEST_F(SimExchangeTest, DischargeWaitEndsWithTheEnergyReading) {
    SimTiming timing = sim.Timing();
    timing.autoDischargeMilliseconds = 3000;
    sim.SetTiming(timing);
    Open();
    UsbPurge(link);
    SendCommand(link, CmdDischargeWait);
    QByteArray text;
    EXPECT_EQ(WaitForDischarge(&text), WaitEnd::Energy);
    EXPECT_TRUE(text.startsWith("READY\r\nMEASURING\r\nE="));
    const QByteArray reading = QByteArray::number(sim.LastBlock().TotalEnergy / 10.0, 'f', 1);
    EXPECT_TRUE(text.endsWith("E=" + reading + "J")) << text.toStdString();
    // About 200 J selected into 25 ohms (the analyzer's share of it, uncorrected).
    EXPECT_GT(sim.LastBlock().TotalEnergy, 0);
    EXPECT_GT(pump.calls, 10); // the long wait keeps the windows alive

    // The rest of the text stays queued until the purge before the next query.
    EXPECT_EQ(UsbReadAttempt(link, text.data(), 2), 0);
    UsbPurge(link);
    char left = 0;
    EXPECT_EQ(UsbReadAttempt(link, &left, 1), 1); // nothing waiting
}

TEST_F(SimExchangeTest, LineEndAfterTheReadingComesAtWireSpeed) {
    // At 960 bytes a second the reading's line end comes a byte time after its "J": a purge made as
    // soon as the reading is complete does not drop it, and it stands in front of the next reply.
    Open();
    sim.Accessory().SetJumpersForLoad(3);
    SendCommand(link, CmdDischargeWait);
    TheClock().Sleep(100);
    UsbPurge(link); // the "READY" text
    ASSERT_TRUE(sim.Discharge());
    const QByteArray reading = "E=" + QByteArray::number(sim.LastBlock().TotalEnergy / 10.0, 'f', 1) + "J";
    TheClock().Sleep(sim.Timing().measureMilliseconds);
    clock.Advance(std::llround(reading.size() * 1e6 / sim.Timing().bytesPerSecond));
    QByteArray text;
    for (char byte = 0; UsbReadAttempt(link, &byte, 1) == 0;)
        text.append(byte);
    EXPECT_TRUE(text.endsWith(reading)) << text.toStdString();
    UsbPurge(link);
    const ReplyBuffer reply = Ask(CmdLoadConfig, LoadConfigReplySize);
    EXPECT_EQ(QByteArray(reply.data(), 4), QByteArray("\r\nB4"));
}

TEST_F(SimExchangeTest, DischargeIsMeasuredOnlyWhileTheAnalyzerWaits) {
    Open();
    EXPECT_FALSE(sim.Discharge());
    EXPECT_FALSE(sim.HasMeasurement());
    SendCommand(link, CmdDischargeWait);
    EXPECT_EQ(sim.State(), SimState::WaitingForDischarge);
    EXPECT_TRUE(sim.Discharge());
    EXPECT_EQ(sim.State(), SimState::Measuring);
    QByteArray text;
    EXPECT_EQ(WaitForDischarge(&text), WaitEnd::Energy);
    EXPECT_EQ(sim.State(), SimState::Idle);
    EXPECT_TRUE(sim.HasMeasurement());
}

TEST_F(SimExchangeTest, TestTextEndsTheWaitAsACancel) {
    sim.InjectFault(SimFault::TestText());
    Open();
    SendCommand(link, CmdDischargeWait);
    QByteArray text;
    EXPECT_EQ(WaitForDischarge(&text), WaitEnd::Test);
    EXPECT_EQ(sim.State(), SimState::Idle);
}

TEST_F(SimExchangeTest, EscapeAbortsTheWait) {
    Open();
    SendCommand(link, CmdDischargeWait);
    EXPECT_EQ(sim.State(), SimState::WaitingForDischarge);
    // The analyzer's "READY" text is on its way; once it has come it is purged, so that only the
    // acknowledgement is read.
    TheClock().Sleep(100);
    UsbPurge(link);
    const ReplyBuffer reply = Ask(CmdAbort, AbortReplySize);
    EXPECT_TRUE(IsAbortAcknowledgement(reply));
    EXPECT_EQ(sim.State(), SimState::Idle);
    EXPECT_FALSE(sim.Discharge());
}

TEST_F(SimExchangeTest, SilentAnalyzerNeverEndsTheWait) {
    sim.InjectFault(SimFault::NoReply("DEHT"));
    Open();
    SendCommand(link, CmdDischargeWait);
    EXPECT_TRUE(sim.Discharge());
    QByteArray text;
    EXPECT_EQ(WaitForDischarge(&text, 100), WaitEnd::GaveUp);
    EXPECT_TRUE(text.isEmpty());
}

// --- the download

class DownloadTest : public SimExchangeTest {
protected:
    void Discharge(int load) {
        Open();
        sim.Accessory().SetJumpersForLoad(load);
        SendCommand(link, CmdDischargeWait);
        ASSERT_TRUE(sim.Discharge());
        QByteArray text;
        ASSERT_EQ(WaitForDischarge(&text), WaitEnd::Energy);
        UsbPurge(link);
    }

    int Download() {
        buffer.assign(WaveformReplySize, 0);
        SendCommand(link, CmdWaveform);
        return UsbReadBlocks(link, buffer.data(), WaveformReplySize, &progress, 1);
    }

    std::vector<uint8_t> buffer;
    CountingStepper progress;
};

TEST_F(DownloadTest, WaveformBlockArrivesWhole) {
    Discharge(3);
    const int64_t start = clock.Microseconds();
    const int pumpedBefore = pump.calls;
    ASSERT_EQ(Download(), 0);
    EXPECT_EQ(progress.steps, 10306);
    EXPECT_EQ(pump.calls - pumpedBefore, 10306);
    // 10306 bytes at 960 bytes a second.
    EXPECT_NEAR(ElapsedSeconds(start), 10306 / 960.0, 0.1);

    TZRTest test;
    StoreWaveformReply(buffer.data(), test);
    EXPECT_EQ(std::memcmp(&test.Results, &sim.LastBlock(), MeasurementBlockSize), 0);
    EXPECT_EQ(std::memcmp(test.Samples, sim.LastSamples().data(), 2 * WaveformSampleCount), 0);
    EXPECT_EQ(uint16_t{test.Results.AnalyzerLoad}, 5000); // a copy: the field is packed
}

TEST_F(DownloadTest, UnplugAtByteKFailsTheDownloadAndTheLinkCheck) {
    Discharge(1);
    sim.InjectFault(SimFault::UnplugAtByte(5000));
    EXPECT_EQ(Download(), -1);
    EXPECT_EQ(progress.steps, 5000);
    const QByteArray expected = EncodeWaveformReply(sim.LastBlock(), sim.LastSamples());
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(buffer.data()), 5000), expected.left(5000));
    EXPECT_EQ(buffer[5000], 0);

    EXPECT_EQ(UsbCheckLink(link), -1);
    link.Close();
    EXPECT_EQ(link.Open(), LinkError::NotDetected); // still unplugged
    sim.Plug();
    EXPECT_EQ(link.Open(), LinkError::None);
    EXPECT_EQ(UsbCheckLink(link), 0);
}

TEST_F(DownloadTest, StalledDownloadRunsOutOfItsWindowAndTheAnalyzerAnswersAgain) {
    Discharge(6);
    sim.InjectFault(SimFault::StallAtByte(66));
    EXPECT_EQ(Download(), -1);
    EXPECT_EQ(progress.steps, 66);
    UsbPurge(link);
    Ask(CmdAccessoryConnect, AckReplySize);
    const ReplyBuffer config = Ask(CmdLoadConfig, LoadConfigReplySize);
    EXPECT_TRUE(IsLoadConfigured(6, config[0], config[1]));
}

TEST_F(DownloadTest, LateDownloadWithinTheWindowIsRead) {
    Discharge(0);
    sim.InjectFault(SimFault::LateReply("VW", 3000));
    EXPECT_EQ(Download(), 0);
}

} // namespace
