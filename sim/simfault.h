#pragma once
// Faults the simulated analyzer commits on request, each for the next `times` replies to one command.

#include <QByteArray>

struct SimFault {
    enum class Kind {
        NoReply,      // the command is taken but never answered (for "DEHT": no text at all)
        LateReply,    // the reply comes `value` milliseconds later than usual
        ShortReply,   // only the first `value` bytes of the reply are sent
        ReplaceReply, // `bytes` are sent instead of the reply
        TestText,     // "DEHT": the analyzer sends its "TEST" text instead of waiting for a discharge
        UnplugAtByte, // "VW": the USB device is gone once the host has taken `value` bytes of the reply
        StallAtByte,  // "VW": the bytes from `value` on never come
        TrailingText, // "DEHT": the line end after the energy reading comes `value` ms after the reading
    };

    Kind kind = Kind::NoReply;
    QByteArray command; // "GS", "VN", "RL", "ECGDJ20", "ECGDJ10", "DEHT", "\x1b" or "VW"
    int times = 1;
    int value = 0;
    QByteArray bytes;

    static SimFault NoReply(const QByteArray& command, int times = 1);
    static SimFault LateReply(const QByteArray& command, int delayMilliseconds, int times = 1);
    static SimFault ShortReply(const QByteArray& command, int keptBytes, int times = 1);
    // Bytes of the reply's length that mean nothing.
    static SimFault Garbage(const QByteArray& command, int times = 1);
    static SimFault Reply(const QByteArray& command, const QByteArray& bytes, int times = 1);
    // "XX" to the next `times` "RL" queries, as if the accessory's cable were loose.
    static SimFault AccessoryNotConnected(int times);
    // The next "RL" replies report this jumper setting, whatever the accessory is set to.
    static SimFault WrongConfiguration(char bank, char resistance, int times = 1);
    static SimFault TestText(int times = 1);
    static SimFault UnplugAtByte(int byte);
    static SimFault StallAtByte(int byte);
    static SimFault TrailingText(int delayMilliseconds);

    // The bytes that a garbage fault sends in place of a reply of `size` bytes.
    static QByteArray GarbageBytes(qsizetype size);
};
