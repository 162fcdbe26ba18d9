#pragma once
// The input of the reply fuzz target: how the technician runs the test and what the analyzer answers
// to each command. Read from the front (fuzzinput.h), so that seeds are easy to write:
//
//   byte 0     the loads selected: bits 0-2 the first (taken modulo 7); with bit 7 set also a second,
//              bits 3-5 (modulo 7; none when it is the first again)
//   byte 1     virtual time each driver call takes: 250 us << (value % 4)
//   byte 2     how long the technician waits for a discharge before pressing Cancel: 1 + value % 64
//              rounds of the 200 ms poll
//   byte 3     the block of a waveform download at which the technician presses Cancel: value x 41
//              (0: never)
//   bytes 4-7  the buttons pressed after the first OK, in order (value % 8, see ButtonPress)
//   then one reply per command written, in the order of the commands: a kind byte (bits 0-2 the
//   ReplyKind, bits 3-7 a delay in steps of 150 ms before the reply starts) and, for the kinds that
//   carry bytes, a little-endian length word and that many bytes (fewer at the end of the input).
//   Once the input is used up the analyzer answers nothing.

#include <QByteArray>
#include <QList>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

enum class ReplyKind : uint8_t {
    AtOnce,     // the bytes, all arriving at once
    Trickle,    // the bytes at 9600 baud
    None,       // no answer
    WriteFails, // the write of the command fails; no answer
    ShortWrite, // the write takes one byte less than it was given; no answer
    ShortRead,  // the bytes, but the first read of them returns one byte less than asked
    ReadFails,  // the bytes, but the first read of them fails
    DeviceGone, // the analyzer is unplugged: the write and everything after it fails
};

bool CarriesBytes(ReplyKind kind);

struct ScriptedReply {
    ReplyKind kind = ReplyKind::None;
    int delaySteps = 0; // 0..31, of 150 ms
    QByteArray bytes;
};

enum class ButtonPress { OK, Back, Skip, CancelYes, CancelNo, CloseYes };

struct ReplyScript {
    std::array<uint8_t, 8> header{};
    QList<ScriptedReply> replies;

    int FirstLoad() const { return (header[0] & 7) % 7; }
    std::optional<int> SecondLoad() const;
    int CallMicroseconds() const { return 250 << (header[1] % 4); }
    int DischargeWaitMilliseconds() const { return (1 + header[2] % 64) * 200; }
    int CancelAtBlock() const { return header[3] * 41; }
    static constexpr int ButtonCount = 4;
    ButtonPress Button(int i) const;
};

ReplyScript ParseReplyScript(const uint8_t* data, size_t size);
// The bytes that ParseReplyScript reads back as `script` (for writing seeds).
QByteArray EncodeReplyScript(const ReplyScript& script);
