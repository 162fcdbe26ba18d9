#include "sim/simfault.h"

namespace {

SimFault Make(SimFault::Kind kind, const QByteArray& command, int times, int value = 0,
              const QByteArray& bytes = {}) {
    SimFault fault;
    fault.kind = kind;
    fault.command = command;
    fault.times = times;
    fault.value = value;
    fault.bytes = bytes;
    return fault;
}

} // namespace

SimFault SimFault::NoReply(const QByteArray& command, int times) {
    return Make(Kind::NoReply, command, times);
}

SimFault SimFault::LateReply(const QByteArray& command, int delayMilliseconds, int times) {
    return Make(Kind::LateReply, command, times, delayMilliseconds);
}

SimFault SimFault::ShortReply(const QByteArray& command, int keptBytes, int times) {
    return Make(Kind::ShortReply, command, times, keptBytes);
}

SimFault SimFault::Garbage(const QByteArray& command, int times) {
    // The length is only known when the reply is made; an empty replacement marks "garbage".
    return Make(Kind::ReplaceReply, command, times, 0, QByteArray());
}

SimFault SimFault::Reply(const QByteArray& command, const QByteArray& bytes, int times) {
    return Make(Kind::ReplaceReply, command, times, 0, bytes);
}

SimFault SimFault::AccessoryNotConnected(int times) {
    return Make(Kind::ReplaceReply, "RL", times, 0, QByteArray("XX\0\0", 4));
}

SimFault SimFault::WrongConfiguration(char bank, char resistance, int times) {
    QByteArray reply(4, '\0');
    reply[0] = bank;
    reply[1] = resistance;
    return Make(Kind::ReplaceReply, "RL", times, 0, reply);
}

SimFault SimFault::TestText(int times) {
    return Make(Kind::TestText, "DEHT", times);
}

SimFault SimFault::UnplugAtByte(int byte) {
    return Make(Kind::UnplugAtByte, "VW", 1, byte);
}

SimFault SimFault::StallAtByte(int byte) {
    return Make(Kind::StallAtByte, "VW", 1, byte);
}

SimFault SimFault::TrailingText(int delayMilliseconds) {
    return Make(Kind::TrailingText, "DEHT", 1, delayMilliseconds);
}

QByteArray SimFault::GarbageBytes(qsizetype size) {
    // Neither an acknowledgement, a jumper setting, an energy reading nor the "TEST" text.
    static const char pattern[] = "?#%~\xA5\x5A";
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = pattern[i % (sizeof pattern - 1)];
    return bytes;
}
