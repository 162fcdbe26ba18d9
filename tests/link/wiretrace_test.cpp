// The wire trace: the lines of each event, and a file trace of a real exchange.
#include "link/analyzerlink.h"
#include "link/usbcomm.h"
#include "link/wiretrace.h"
#include "sim/scripteddriver.h"
#include "tests/link/linkfixture.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace {

// A data line: indented under the tag, hex padded to the width of sixteen bytes, then the text.
QString DataLine(const QString& hex, const QString& text) {
    return QString(17, ' ') + hex.leftJustified(16 * 3 + 1) + text;
}

TEST(WireTraceFormatTest, DataIsShownAsHexAndText) {
    WireEvent tx{WireEventKind::Write, 0, 3, "GS\r", {}};
    EXPECT_EQ(FormatWireEvent(1234, tx),
              (QStringList{"     1.234 TX    3 bytes, 3 accepted, status 0", DataLine("47 53 0D", "GS.")}));
}

TEST(WireTraceFormatTest, LongDataWrapsEverySixteenBytes) {
    QByteArray bytes;
    for (int i = 0; i < 20; ++i)
        bytes += static_cast<char>('A' + i);
    const QStringList lines = FormatWireEvent(0, WireEvent{WireEventKind::Read, 0, 37, bytes, {}});
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "     0.000 RX    20 of 37 bytes, status 0");
    EXPECT_EQ(lines[1], DataLine("41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50", "ABCDEFGHIJKLMNOP"));
    EXPECT_EQ(lines[2], DataLine("51 52 53 54", "QRST"));
}

TEST(WireTraceFormatTest, EventsWithoutData) {
    EXPECT_EQ(FormatWireEvent(61'005, WireEvent{WireEventKind::Open, 2, 0, {}, "Corvex Defib Tester Final"}),
              QStringList{"    61.005 OPEN  \"Corvex Defib Tester Final\" status 2"});
    EXPECT_EQ(FormatWireEvent(0, WireEvent{WireEventKind::Close, 0, 0, {}, {}}),
              QStringList{"     0.000 CLOSE status 0"});
    EXPECT_EQ(FormatWireEvent(0, WireEvent{WireEventKind::LinkCheck, 4, FtEventDeviceGone, {}, {}}),
              QStringList{"     0.000 LINK  event 0x80000000 status 4"});
    EXPECT_EQ(FormatWireEvent(0, WireEvent{WireEventKind::Purge, 0, 3, {}, {}}),
              QStringList{"     0.000 PURGE mask 3 status 0"});
}

class WireTraceFileTest : public LinkTest {
protected:
    ScriptedDriver driver{clock};
    QTemporaryDir dir;
};

TEST_F(WireTraceFileTest, RecordsEveryCallOfAnExchangeWithItsTime) {
    const QString path = dir.filePath("trace.txt");
    {
        FileWireTrace trace(path);
        ASSERT_TRUE(trace.IsOpen());
        const ScopedInstall<WireTrace> traced(trace);
        AnalyzerLink link;
        link.Open();
        UsbPurge(link);
        UsbSendCommand(link, "VN", 2);
        driver.Deliver("*\r", 120'000);
        std::array<char, 2> reply{};
        UsbRead(link, reply.data(), 2);
        driver.queueStatus = FtIoError;
        UsbRead(link, reply.data(), 2);
        UsbCheckLink(link);
        link.Close();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[0].startsWith("# CorvexZR wire trace, started "));
    EXPECT_EQ(lines.mid(1), (QStringList{
                                "     0.000 OPEN  \"Corvex Defib Tester Final\" status 0",
                                "     0.000 PURGE mask 3 status 0",
                                "     0.000 TX    3 bytes, 3 accepted, status 0",
                                DataLine("56 4E 0D", "VN."),
                                "     0.120 RX    2 of 2 bytes, status 0",
                                DataLine("2A 0D", "*."),
                                "     0.121 QUEUE status 4",
                                "     0.121 LINK  event 0x00000000 status 0",
                                "     0.121 CLOSE status 0",
                            }));
}

TEST(WireTraceParseTest, ReadsBackWhatWasWritten) {
    const QList<WireEvent> written = {
        {WireEventKind::Open, 0, 0, {}, "Corvex Defib Tester Final"},
        {WireEventKind::Write, 0, 3, "GS\r", {}},
        {WireEventKind::Read, 0, 37, QByteArray(37, '\xA5'), {}},
        {WireEventKind::Purge, 0, 3, {}, {}},
        {WireEventKind::QueueError, 4, 0, {}, {}},
        {WireEventKind::LinkCheck, 4, FtEventDeviceGone, {}, {}},
        {WireEventKind::Close, 0, 0, {}, {}},
    };
    QStringList lines{"# CorvexZR wire trace, started 2026-12-08T00:00:00"};
    for (int i = 0; i < written.size(); ++i)
        lines += FormatWireEvent(1000 * i + 7, written[i]);
    const QList<TracedEvent> read = ParseWireTrace(lines);
    ASSERT_EQ(read.size(), written.size());
    for (int i = 0; i < written.size(); ++i) {
        EXPECT_EQ(read[i].milliseconds, 1000 * i + 7) << i;
        EXPECT_EQ(read[i].event.kind, written[i].kind) << i;
        EXPECT_EQ(read[i].event.status, written[i].status) << i;
        EXPECT_EQ(read[i].event.value, written[i].value) << i;
        EXPECT_EQ(read[i].event.bytes, written[i].bytes) << i;
        EXPECT_EQ(read[i].event.text, written[i].text) << i;
    }
}

TEST_F(WireTraceFileTest, AFieldTraceReplaysAsATestCase) {
    // The field: a status query answered 250 ms late, traced to a file.
    const QString path = dir.filePath("field.txt");
    QByteArray block(37, '\0');
    for (int i = 0; i < 37; ++i)
        block[i] = static_cast<char>(i * 7);
    {
        FileWireTrace trace(path);
        AnalyzerLink link;
        const ScopedInstall<WireTrace> traced(trace); // gone before the link closes: its close is not traced
        link.Open();
        driver.Deliver(block, 250'000);
        std::array<uint8_t, 37> status{};
        ASSERT_EQ(link.QueryStatus(status).Ok(), true);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<TracedEvent> trace = ParseWireTrace(QString::fromLatin1(file.readAll()).split('\n'));

    // The test: a fresh driver replays what the analyzer sent, at the times it came.
    ScriptedDriver replay(clock);
    replay.Replay(trace);
    AnalyzerLink link;
    link.Open();
    const int64_t start = clock.Microseconds();
    std::array<uint8_t, 37> status{};
    ASSERT_EQ(link.QueryStatus(status).Ok(), true);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(status.data()), 37), block);
    EXPECT_NEAR(ElapsedSeconds(start), 0.25, 0.002);
    EXPECT_EQ(replay.written, QByteArray("GS\r"));
}

// A recording of calls that fail in every way the driver can fail, as the program saw them.
struct FaultyExchange {
    QList<int> results;
    QByteArray reply;
    QList<LinkError> opens;
    TransportFaults faults;
};

FaultyExchange RunFaultyExchange(const QByteArray& command, const std::function<void(int)>& fault) {
    FaultyExchange seen;
    AnalyzerLink link;
    for (int stage = 0; stage < 2; ++stage) {
        fault(stage);
        seen.opens << link.Open();
        seen.results << (seen.opens.last() == LinkError::None ? 0 : -1);
    }
    fault(2);
    seen.results << UsbWrite(link, command.constData(), static_cast<uint32_t>(command.size()), &seen.faults);
    fault(3);
    std::array<char, 2> reply{};
    seen.results << UsbRead(link, reply.data(), 2, &seen.faults);
    seen.reply = QByteArray(reply.data(), 2);
    fault(4);
    seen.results << UsbRead(link, reply.data(), 2, &seen.faults) << UsbCheckLink(link);
    link.Close();
    return seen;
}

TEST_F(WireTraceFileTest, AReplayAnswersAsTheTraceDidAndTellsWhereTheProgramLeavesIt) {
    // Recorded: a failed open, a short write, a reply after 300 ms, a failing queue, a gone link.
    QList<TracedEvent> trace;
    {
        class Collect : public WireTrace {
        public:
            explicit Collect(VirtualClock& clock, QList<TracedEvent>& events)
                : m_clock(clock), m_events(events) {}
            void Record(const WireEvent& e) override { m_events << TracedEvent{m_clock.Milliseconds(), e}; }
            VirtualClock& m_clock;
            QList<TracedEvent>& m_events;
        } collect(clock, trace);
        std::optional<ScopedInstall<WireTrace>> traced(std::in_place, collect);
        const FaultyExchange recorded = RunFaultyExchange("VN\r", [this](int stage) {
            driver.openStatus = stage == 0 ? FtDeviceNotFound : FtOK;
            driver.writeLimit = stage == 2 ? std::optional<uint32_t>(2) : std::nullopt;
            if (stage == 3)
                driver.Deliver("*\r", 300'000);
            driver.queueStatus = stage == 4 ? FtIoError : FtOK;
            driver.eventWord = stage == 4 ? FtEventDeviceGone : 0;
        });
        traced.reset();
        EXPECT_EQ(recorded.results, (QList<int>{-1, 0, -1, 0, -1, -1}));
        EXPECT_EQ(recorded.opens, (QList<LinkError>{LinkError::NotDetected, LinkError::None}));
        EXPECT_EQ(recorded.faults, (TransportFaults{{TransportFault::Kind::ShortWrite, 2}}));
    }

    // Replayed: the same results and faults, the reply as late, and nothing left over.
    {
        ScriptedDriver replay(clock);
        replay.Replay(trace);
        const int64_t start = clock.Microseconds();
        const FaultyExchange replayed = RunFaultyExchange("VN\r", [&](int stage) {
            if (stage == 4) {
                EXPECT_NEAR(ElapsedSeconds(start), 0.3, 0.002);
            }
        });
        EXPECT_EQ(replayed.results, (QList<int>{-1, 0, -1, 0, -1, -1}));
        EXPECT_EQ(replayed.reply, QByteArray("*\r"));
        EXPECT_EQ(replayed.opens, (QList<LinkError>{LinkError::NotDetected, LinkError::None}));
        EXPECT_EQ(replayed.faults, (TransportFaults{{TransportFault::Kind::ShortWrite, 2}}));
        replay.Playback()->Finish();
        EXPECT_FALSE(replay.Playback()->Parting().has_value());
        // A call after the trace's end parts from it.
        AnalyzerLink after(ScriptedDriver::Handle);
        UsbPurge(after);
        ASSERT_TRUE(replay.Playback()->Parting().has_value());
        EXPECT_EQ(replay.Playback()->Parting()->index, trace.size());
    }
    // A different command parts at the write, which tells what was written; the analyzer is gone after.
    ScriptedDriver replay(clock);
    replay.Replay(trace);
    const FaultyExchange other = RunFaultyExchange("VM\r", [](int) {});
    const std::optional<TraceParting>& parting = replay.Playback()->Parting();
    ASSERT_TRUE(parting.has_value());
    EXPECT_EQ(parting->how, TraceParting::How::Call);
    EXPECT_EQ(parting->index, 2);
    EXPECT_EQ(parting->call.bytes, QByteArray("VM\r"));
    EXPECT_EQ(other.results, (QList<int>{-1, 0, -1, -1, -1, -1}));
}

TEST_F(WireTraceFileTest, UnwritablePathIsReportedNotFatal) {
    FileWireTrace trace(dir.filePath("missing/folder/trace.txt"));
    EXPECT_FALSE(trace.IsOpen());
    EXPECT_FALSE(trace.ErrorString().isEmpty());
    trace.Record(WireEvent{}); // does nothing
}

} // namespace
