#include "tests/fuzz/replyscript.h"

#include "tests/fuzz/fuzzinput.h"

namespace {

constexpr uint8_t KindBits = 7;
constexpr int DelayShift = 3;

} // namespace

bool CarriesBytes(ReplyKind kind) {
    return kind == ReplyKind::AtOnce || kind == ReplyKind::Trickle || kind == ReplyKind::ShortRead ||
           kind == ReplyKind::ReadFails;
}

std::optional<int> ReplyScript::SecondLoad() const {
    if ((header[0] & 0x80) == 0)
        return std::nullopt;
    const int second = ((header[0] >> 3) & 7) % 7;
    return second == FirstLoad() ? std::nullopt : std::optional<int>(second);
}

ButtonPress ReplyScript::Button(int i) const {
    switch (header[4 + i] % 8) {
    case 3:
        return ButtonPress::Back;
    case 4:
        return ButtonPress::Skip;
    case 5:
        return ButtonPress::CancelYes;
    case 6:
        return ButtonPress::CancelNo;
    case 7:
        return ButtonPress::CloseYes;
    default:
        return ButtonPress::OK;
    }
}

ReplyScript ParseReplyScript(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    ReplyScript script;
    for (uint8_t& b : script.header)
        b = in.Byte();
    while (!in.AtEnd()) {
        const uint8_t kind = in.Byte();
        ScriptedReply reply;
        reply.kind = static_cast<ReplyKind>(kind & KindBits);
        reply.delaySteps = kind >> DelayShift;
        if (CarriesBytes(reply.kind))
            reply.bytes = in.Bytes(in.Word());
        script.replies.append(reply);
    }
    return script;
}

QByteArray EncodeReplyScript(const ReplyScript& script) {
    QByteArray bytes(reinterpret_cast<const char*>(script.header.data()),
                     static_cast<qsizetype>(script.header.size()));
    for (const ScriptedReply& reply : script.replies) {
        bytes.append(static_cast<char>(static_cast<uint8_t>(reply.kind) | reply.delaySteps << DelayShift));
        if (CarriesBytes(reply.kind)) {
            bytes.append(static_cast<char>(reply.bytes.size() & 0xFF));
            bytes.append(static_cast<char>(reply.bytes.size() >> 8));
            bytes.append(reply.bytes);
        }
    }
    return bytes;
}
