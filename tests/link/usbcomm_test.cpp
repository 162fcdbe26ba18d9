// The transport against a byte-exact scripted driver: results, read windows, faults and the order
// of driver calls.
#include "link/analyzerlink.h"
#include "link/usbcomm.h"
#include "sim/scripteddriver.h"
#include "tests/link/linkfixture.h"
#include "tests/support/qtprinters.h"

#include <array>
#include <cstring>

namespace {

class UsbcommTest : public LinkTest {
protected:
    ScriptedDriver driver{clock};
    AnalyzerLink link{ScriptedDriver::Handle};
};

using Kind = TransportFault::Kind;

// --- open and close

TEST_F(UsbcommTest, OpenFindsTheAnalyzerByItsDescription) {
    AnalyzerLink fresh;
    EXPECT_EQ(fresh.Open(), LinkError::None);
    EXPECT_TRUE(fresh.IsOpen());
    EXPECT_EQ(driver.calls, QStringList{"OpenEx(Corvex Defib Tester Final,2)"});
}

TEST_F(UsbcommTest, OpenSaysWhyItFoundNoAnalyzer) {
    driver.openStatus = FtDeviceNotFound;
    AnalyzerLink fresh;
    EXPECT_EQ(fresh.Open(), LinkError::NotDetected);
    EXPECT_FALSE(fresh.IsOpen());
    driver.openStatus = FtDeviceNotPermitted;
    EXPECT_EQ(fresh.Open(), LinkError::NotPermitted);
    EXPECT_FALSE(fresh.IsOpen());
}

TEST_F(UsbcommTest, CloseClosesOnceAndClearsTheHandle) {
    link.Close();
    EXPECT_FALSE(link.IsOpen());
    link.Close();
    EXPECT_EQ(driver.calls, QStringList{"Close(90)"});
}

TEST_F(UsbcommTest, CloseOnANullHandleCallsNothing) {
    AnalyzerLink fresh;
    fresh.Close();
    EXPECT_FALSE(fresh.IsOpen());
    EXPECT_TRUE(driver.calls.isEmpty());
}

TEST_F(UsbcommTest, LinkClosesTheAnalyzerWhenItGoesAndOnlyThen) {
    link.Close();
    driver.calls.clear();
    {
        AnalyzerLink scoped;
        ASSERT_EQ(scoped.Open(), LinkError::None);
        EXPECT_TRUE(scoped.IsOpen());
        EXPECT_EQ(driver.calls, QStringList{"OpenEx(Corvex Defib Tester Final,2)"});
    }
    EXPECT_EQ(driver.calls, (QStringList{"OpenEx(Corvex Defib Tester Final,2)", "Close(90)"}));
}

// --- one read attempt

TEST_F(UsbcommTest, AttemptWithOneByteMissingReadsNothingAndLeavesTheBytesQueued) {
    driver.Deliver("*");
    std::array<char, 4> buffer{};
    EXPECT_EQ(UsbReadAttempt(link, buffer.data(), 2), 1);
    EXPECT_EQ(driver.Waiting(), 1u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(driver.calls, QStringList{"GetQueueStatus"});

    driver.Deliver("\r");
    EXPECT_EQ(UsbReadAttempt(link, buffer.data(), 2), 0);
    EXPECT_EQ(QByteArray(buffer.data(), 2), QByteArray("*\r"));
    EXPECT_EQ(driver.calls, (QStringList{"GetQueueStatus", "Read(2)"}));
}

TEST_F(UsbcommTest, AttemptReadsExactlyTheCountEvenWithMoreQueued) {
    driver.Deliver("*\rXX");
    std::array<char, 4> buffer{};
    EXPECT_EQ(UsbReadAttempt(link, buffer.data(), 2), 0);
    EXPECT_EQ(driver.Waiting(), 2u);
}

TEST_F(UsbcommTest, FailedQueueQueryIsNoFault) {
    driver.queueStatus = FtIoError;
    char byte = 0;
    TransportFaults faults;
    EXPECT_EQ(UsbReadAttempt(link, &byte, 1, &faults), -1);
    EXPECT_TRUE(faults.isEmpty());
}

TEST_F(UsbcommTest, FailedReadIsAFaultWithItsStatus) {
    driver.Deliver("abc");
    driver.readStatus = FtIoError;
    std::array<char, 4> buffer{};
    TransportFaults faults;
    EXPECT_EQ(UsbReadAttempt(link, buffer.data(), 3, &faults), -1);
    EXPECT_EQ(faults, (TransportFaults{{Kind::ReadStatus, 4}}));
}

TEST_F(UsbcommTest, ShortDeliveryIsAFaultWithTheCountAndFailsWithoutAnotherAttempt) {
    driver.Deliver(QByteArray(37, 'S'));
    driver.readLimit = 36;
    std::array<uint8_t, 37> status{};
    TransportFaults faults;
    EXPECT_EQ(UsbRead(link, status.data(), 37, &faults), -1);
    EXPECT_EQ(faults, (TransportFaults{{Kind::ShortRead, 36}}));
    EXPECT_EQ(driver.calls, (QStringList{"GetQueueStatus", "Read(37)"}));
}

// --- the read window

TEST_F(UsbcommTest, ReplyTwoSecondsLateIsRead) {
    driver.Deliver("*\r", 2'000'000);
    std::array<char, 2> buffer{};
    EXPECT_EQ(UsbRead(link, buffer.data(), 2), 0);
    EXPECT_EQ(QByteArray(buffer.data(), 2), QByteArray("*\r"));
    EXPECT_NEAR(ElapsedSeconds(0), 2.0, 0.01);
}

TEST_F(UsbcommTest, ReplyThatNeverComesFailsAfterTheWindow) {
    std::array<char, 2> buffer{};
    EXPECT_EQ(UsbRead(link, buffer.data(), 2), -1);
    // Started on a whole second: the window is the full four seconds.
    EXPECT_NEAR(ElapsedSeconds(0), 4.0, 0.01);
    EXPECT_EQ(pump.calls, 0); // the short waits keep the windows still
}

TEST_F(UsbcommTest, WindowStartedLateInASecondLastsJustOverThreeSeconds) {
    clock.Advance(999'000);
    const int64_t start = clock.Microseconds();
    std::array<char, 2> buffer{};
    EXPECT_EQ(UsbRead(link, buffer.data(), 2), -1);
    EXPECT_GT(ElapsedSeconds(start), 3.0);
    EXPECT_LT(ElapsedSeconds(start), 3.1);
}

TEST_F(UsbcommTest, ReplyCompletingAtExactlyFourSecondsCountsForReadButNotForStatus) {
    // Polls advance the clock 1 ms at a time; the poll that sees the reply lands on the 4.000 s mark.
    driver.Deliver(QByteArray(37, 'S'), 3'999'500);
    std::array<uint8_t, 37> status{};
    EXPECT_EQ(UsbRead(link, status.data(), 37), 0);
    EXPECT_NEAR(ElapsedSeconds(0), 4.0, 0.0011);

    clock.AdvanceTo(10'000'000); // a fresh whole second
    driver.calls.clear();
    driver.Deliver(QByteArray(37, 'S'), 3'999'500);
    EXPECT_EQ(link.QueryStatus(status).Ok(), false);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(driver.calls, (QStringList{"Write(47 53 0d)", "GetQueueStatus", "Read(37)", "Close(90)"}));
}

TEST_F(UsbcommTest, ReplyJustBeforeTheFourthSecondCountsForStatus) {
    driver.Deliver(QByteArray(37, 'S'), 3'998'500);
    std::array<uint8_t, 37> status{};
    EXPECT_EQ(link.QueryStatus(status).Ok(), true);
    EXPECT_TRUE(link.IsOpen());
}

TEST_F(UsbcommTest, StatusQueryStoresTheBlockAsReceived) {
    QByteArray block(37, '\0');
    for (int i = 0; i < 37; ++i)
        block[i] = static_cast<char>(0xF0 - i);
    driver.Deliver(block, 50'000);
    std::array<uint8_t, 37> status{};
    EXPECT_EQ(link.QueryStatus(status).Ok(), true);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(status.data()), 37), block);
    EXPECT_EQ(driver.written, QByteArray("GS\r"));
}

TEST_F(UsbcommTest, StatusQueryWithoutReplyClosesTheLinkSilently) {
    std::array<uint8_t, 37> status{};
    EXPECT_EQ(link.QueryStatus(status).Ok(), false);
    EXPECT_FALSE(link.IsOpen());
}

// --- block reads

TEST_F(UsbcommTest, NoBlocksReadsNothing) {
    CountingStepper progress;
    char byte = 0;
    EXPECT_EQ(UsbReadBlocks(link, &byte, 0, &progress, 1), 0);
    EXPECT_TRUE(driver.calls.isEmpty());
    EXPECT_EQ(progress.steps, 0);
    EXPECT_EQ(pump.calls, 0);
}

TEST_F(UsbcommTest, BlocksStepTheProgressAndPumpAfterEachBlock) {
    driver.Deliver("abcdef");
    CountingStepper progress;
    int stepsSeenByPump = -1;
    pump.onPump = [&](int) { stepsSeenByPump = progress.steps; };
    std::array<char, 6> buffer{};
    EXPECT_EQ(UsbReadBlocks(link, buffer.data(), 3, &progress, 2), 0);
    EXPECT_EQ(QByteArray(buffer.data(), 6), QByteArray("abcdef"));
    EXPECT_EQ(progress.steps, 3);
    EXPECT_EQ(pump.calls, 3);
    EXPECT_EQ(stepsSeenByPump, 3); // the step comes before the pump
    EXPECT_EQ(driver.calls, (QStringList{"GetQueueStatus", "Read(2)", "GetQueueStatus", "Read(2)",
                                         "GetQueueStatus", "Read(2)"}));
}

TEST_F(UsbcommTest, BlockReadFailingAtBlockKKeepsTheBlocksBefore) {
    driver.Deliver("01234");
    CountingStepper progress;
    std::array<char, 8> buffer{};
    BlockReadResult result;
    TransportFaults faults;
    EXPECT_EQ(UsbReadBlocks(link, buffer.data(), 8, &progress, 1, &result, &faults), -1);
    EXPECT_EQ(result.blocks, 5u);
    EXPECT_EQ(result.end, BlockReadResult::End::WindowRanOut);
    EXPECT_TRUE(faults.isEmpty()); // the caller knows what was expected
    EXPECT_EQ(QByteArray(buffer.data(), 5), QByteArray("01234"));
    EXPECT_EQ(buffer[5], '\0');
    EXPECT_EQ(progress.steps, 5);
    EXPECT_EQ(pump.calls, 5);
}

TEST_F(UsbcommTest, BlockReadSaysWhyItStopped) {
    BlockReadResult result;
    std::array<char, 4> buffer{};
    driver.Deliver("ab");
    driver.readStatus = FtIoError;
    TransportFaults faults;
    EXPECT_EQ(UsbReadBlocks(link, buffer.data(), 4, nullptr, 1, &result, &faults), -1);
    EXPECT_EQ(result.end, BlockReadResult::End::ReadFailed);
    EXPECT_EQ(faults.size(), 1); // the failed read
    driver.queueStatus = FtIoError;
    EXPECT_EQ(UsbReadBlocks(link, buffer.data(), 4, nullptr, 1, &result, &faults), -1);
    EXPECT_EQ(result.end, BlockReadResult::End::QueueFailed);
    EXPECT_EQ(result.blocks, 0u);
    EXPECT_EQ(faults.size(), 1); // a gone device is no fault of the read
}

TEST_F(UsbcommTest, EachBlockHasItsOwnWindow) {
    // Three bytes, each 3.5 s after the one before: every block is within its own window.
    driver.Deliver("a", 3'500'000);
    driver.Deliver("b", 7'000'000);
    driver.Deliver("c", 10'500'000);
    std::array<char, 3> buffer{};
    EXPECT_EQ(UsbReadBlocks(link, buffer.data(), 3, nullptr, 1), 0);
    EXPECT_EQ(QByteArray(buffer.data(), 3), QByteArray("abc"));
}

// --- writes and commands

TEST_F(UsbcommTest, CommandGoesOutWithItsTerminatorInOneWrite) {
    UsbSendCommand(link, "ECGDJ20", 7);
    EXPECT_EQ(driver.calls, QStringList{"Write(45 43 47 44 4a 32 30 0d)"});
}

TEST_F(UsbcommTest, FailedAndShortWritesAreFaults) {
    driver.writeStatus = FtIoError;
    TransportFaults faults;
    EXPECT_EQ(UsbWrite(link, "VN\r", 3, &faults), -1);
    driver.writeStatus = FtOK;
    driver.writeLimit = 2;
    UsbSendCommand(link, "DEHT", 4, &faults);
    EXPECT_EQ(faults, (TransportFaults{{Kind::WriteStatus, 4}, {Kind::ShortWrite, 2}}));
}

// --- link check

TEST_F(UsbcommTest, LinkCheckReadsTheEventWord) {
    EXPECT_EQ(UsbCheckLink(link), 0);
    EXPECT_EQ(driver.calls, QStringList{"GetStatus(0,0,ffffffff)"});
    driver.eventWord = FtEventDeviceGone;
    EXPECT_EQ(UsbCheckLink(link), -1);
}

TEST_F(UsbcommTest, LinkCheckFailsWhenTheDriverLeavesTheEventWordUntouched) {
    driver.eventWord.reset();
    EXPECT_EQ(UsbCheckLink(link), -1);
}

TEST_F(UsbcommTest, PurgeEmptiesBothQueues) {
    UsbPurge(link);
    EXPECT_EQ(driver.calls, QStringList{"Purge(3)"});
}

// --- byte order

TEST(SwapTest, WordSwapsSignedAndUnsignedAlike) {
    uint16_t u = 0x1234;
    SwapWord(&u);
    EXPECT_EQ(u, 0x3412);
    int16_t s = static_cast<int16_t>(0x38FF); // 0xFF 0x38 on the wire, stored as is
    SwapWord(&s);
    EXPECT_EQ(s, -200);
}

TEST(SwapTest, MeasurementBlockSwapsExactlyItsEighteenFields) {
    std::array<uint8_t, 66> wire{};
    for (int i = 0; i < 66; ++i)
        wire[i] = static_cast<uint8_t>(i + 1);
    wire[63] = 0x12;
    wire[64] = 0x34;
    TMeasurementBlock block;
    std::memcpy(&block, wire.data(), 66);
    SwapMeasurementBlock(&block);

    std::array<uint8_t, 66> host{};
    std::memcpy(host.data(), &block, 66);
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(host[i], wire[i]) << i;
    for (int i = 22; i < 56; i += 2) {
        EXPECT_EQ(host[i], wire[i + 1]) << i;
        EXPECT_EQ(host[i + 1], wire[i]) << i;
    }
    for (int i = 56; i < 63; ++i)
        EXPECT_EQ(host[i], wire[i]) << i;
    EXPECT_EQ(uint16_t{block.AnalyzerLoad}, 0x1234); // copies: the fields are packed
    EXPECT_EQ(host[65], wire[65]);
    EXPECT_EQ(uint16_t{block.PeakVoltage1}, 23 * 256 + 24);

    SwapMeasurementBlock(&block);
    std::memcpy(host.data(), &block, 66);
    EXPECT_EQ(host, wire);
}

TEST(SwapTest, WaveformSwapsAll5120Samples) {
    std::array<int16_t, SAMPLE_COUNT> samples{};
    for (int i = 0; i < SAMPLE_COUNT; ++i)
        samples[i] = static_cast<int16_t>(i * 7 - 9000);
    auto wire = samples;
    for (auto& s : wire)
        s = static_cast<int16_t>(((s & 0xFF) << 8) | ((s >> 8) & 0xFF));
    SwapWaveform(wire.data());
    EXPECT_EQ(wire, samples);
}

} // namespace
