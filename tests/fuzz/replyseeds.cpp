#include "tests/fuzz/replyseeds.h"

#include "link/protocol.h"
#include "sim/measurement.h"
#include "tests/fuzz/fuzzcheck.h"
#include "tests/fuzz/replyscript.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <initializer_list>

namespace {

ScriptedReply Reply(const QByteArray& bytes, ReplyKind kind = ReplyKind::AtOnce, int delaySteps = 0) {
    return ScriptedReply{kind, delaySteps, bytes};
}

ScriptedReply Silence() {
    return ScriptedReply{ReplyKind::None, 0, {}};
}

ScriptedReply Ack() {
    return Reply("*\r");
}

ScriptedReply Status() {
    QByteArray block(StatusReplySize, '\0');
    block.replace(0, 12, "CORVEX V2.10");
    block.replace(ANALYZER_ID_OFFSET, 13, "CVX-FUZZ-0001");
    const char stamp[] = {0, 30, 10, 15, 6, 26}; // 10:30:00 on 15 June 2026
    block.replace(TEST_DATE_TIME_OFFSET, sizeof stamp, stamp, sizeof stamp);
    return Reply(block);
}

// The accessory's reply to "RL" with its jumpers set for the load: 25 ohms per load index added and
// 0.37 ohms of leads, so that no load of the fuzz target's record holds the same value.
ScriptedReply LoadConfig(int load) {
    const uint16_t added = static_cast<uint16_t>(2500 * load + 37);
    const char reply[] = {load <= 1 ? 'A' : 'B', static_cast<char>('1' + load),
                          static_cast<char>(added & 0xFF), static_cast<char>(added >> 8)};
    return Reply(QByteArray(reply, sizeof reply));
}

ScriptedReply NotConnected() {
    return Reply(QByteArray("XX\0\0", 4));
}

ScriptedReply Discharge() {
    return Reply("READY\r\nE=150.2J\r\n");
}

// The "VW" reply of a plausible biphasic discharge, every 16-bit value big-endian.
ScriptedReply Waveform(int seed) {
    auto rec = std::make_unique<TZRTestRec>();
    FillLoad(*rec, 0, seed, 5000, 0);
    const TZRTest& load = rec->Loads[0];
    SampleArray samples;
    std::memcpy(samples.data(), load.Samples, sizeof load.Samples);
    return Reply(EncodeWaveformReply(load.Results, samples));
}

// A load step from OK on: configuration, discharge, configuration again, download.
QList<ScriptedReply> LoadRun(int load, int seed) {
    return {LoadConfig(load), Discharge(), LoadConfig(load), Waveform(seed)};
}

// The start handshake: status block, "VN" acknowledged, the accessory configured for the load.
QList<ScriptedReply> Start(int load) {
    return {Status(), Ack(), LoadConfig(load)};
}

// Header: loads, 500 us per driver call, 10 s before Cancel in the discharge wait, no Cancel in the
// download, then the buttons (0 is OK).
ReplyScript Script(int first, int second = -1, std::initializer_list<uint8_t> buttons = {}) {
    ReplyScript script;
    script.header = {
        static_cast<uint8_t>(second < 0 ? first : 0x80 | second << 3 | first), 1, 49, 0, 0, 0, 0, 0};
    int i = 4;
    for (uint8_t b : buttons)
        script.header[i++] = b;
    return script;
}

constexpr uint8_t Skip = 4;
constexpr uint8_t Back = 3;
constexpr uint8_t CancelYes = 5;

void Write(const QDir& dir, const char* name, const ReplyScript& script) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    const QByteArray bytes = EncodeReplyScript(script);
    FuzzCheck(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "cannot write a seed");
}

} // namespace

void WriteReplySeeds(const QString& path) {
    QDir dir;
    FuzzCheck(dir.mkpath(path), "cannot create the seed folder");
    dir.setPath(path);

    ReplyScript one = Script(0);
    one.replies << Start(0) << Ack() << LoadRun(0, 1);
    Write(dir, "one-load-25-ohms", one);

    ReplyScript two = Script(3, 5);
    two.replies << Start(3) << Ack() << LoadRun(3, 2) << Ack() << LoadRun(5, 3);
    Write(dir, "two-loads-100-150-ohms", two);

    // Every reply at 9600 baud, some late.
    ReplyScript slow = Script(6);
    slow.replies << Start(6) << Ack() << LoadRun(6, 4);
    for (qsizetype i = 0; i < slow.replies.size(); ++i) {
        slow.replies[i].kind = ReplyKind::Trickle;
        slow.replies[i].delaySteps = static_cast<int>(i * 3 % 16);
    }
    Write(dir, "one-load-175-ohms-slow", slow);

    ReplyScript reconnect = Script(1);
    reconnect.replies << Start(1) << Ack() << NotConnected() << Ack() << NotConnected() << Ack()
                      << LoadRun(1, 5);
    Write(dir, "reconnect-after-xx", reconnect);

    // The "TEST" text ends the wait as a cancel; the next load is then shown without its step command.
    ReplyScript test = Script(2, 4, {Skip, 0, 0});
    test.replies << Start(2) << Ack() << LoadConfig(2) << Reply("READY\r\nTEST\r\n") << LoadRun(4, 6);
    Write(dir, "test-text-then-skip", test);

    Write(dir, "no-reply", Script(0));

    ReplyScript notConnected = Script(0);
    notConnected.replies << Status() << Ack() << NotConnected();
    Write(dir, "accessory-not-connected", notConnected);

    ReplyScript wrong = Script(0, -1, {Back, 0, 0});
    wrong.replies << Start(0) << Ack() << LoadConfig(3) << Ack() << LoadRun(0, 7);
    Write(dir, "wrong-jumpers-then-again", wrong);

    // No discharge: the technician presses Cancel after a second, then leaves the test.
    ReplyScript waiting = Script(3, -1, {CancelYes});
    waiting.header[2] = 4;
    waiting.replies << Start(3) << Ack() << LoadConfig(3) << Reply("READY\r\n") << Reply("*");
    Write(dir, "cancel-in-discharge-wait", waiting);

    // Cancel at block 4100 of the download: the abort's reply follows the waveform.
    ReplyScript download = Script(0);
    download.header[3] = 100;
    download.replies << Start(0) << Ack() << LoadRun(0, 8) << Reply("*");
    Write(dir, "cancel-in-download", download);

    // Half the waveform, then the analyzer is unplugged.
    ReplyScript unplugged = Script(5, -1, {0, 0});
    unplugged.replies << Start(5) << Ack() << LoadRun(5, 9);
    unplugged.replies.last().bytes.truncate(5000);
    unplugged.replies << ScriptedReply{ReplyKind::DeviceGone, 0, {}};
    Write(dir, "unplugged-in-download", unplugged);

    ReplyScript again = Script(1, 2, {Back, 0, 0, 0});
    again.replies << Start(1) << Ack() << LoadRun(1, 10) << Ack() << Ack() << LoadRun(1, 11) << Ack()
                  << LoadRun(2, 12);
    Write(dir, "back-and-again", again);

    ReplyScript readFails = Script(0);
    readFails.replies << Reply(Status().bytes, ReplyKind::ReadFails);
    Write(dir, "status-read-fails", readFails);

    ReplyScript faults = Script(4, -1, {0});
    faults.replies << Start(4) << Reply("*\r", ReplyKind::ShortRead) << LoadConfig(4) << Silence()
                   << ScriptedReply{ReplyKind::ShortWrite, 0, {}}
                   << ScriptedReply{ReplyKind::WriteFails, 0, {}};
    Write(dir, "short-read-silence-and-write-faults", faults);
}
