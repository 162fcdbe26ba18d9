#include "tests/fuzz/replydevice.h"

#include "link/protocol.h"
#include "link/usbcomm.h"
#include "tests/fuzz/fuzzcheck.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr int WireBytesPerSecond = 960; // 9600 baud
constexpr int64_t DelayStepMicroseconds = 150'000;

bool IsAnalyzerCommand(std::string_view command) {
    for (std::string_view known : {CmdStatus, CmdAccessoryConnect, CmdLoadConfig, CmdStep25Ohms,
                                   CmdStepOtherLoads, CmdDischargeWait, CmdAbort, CmdWaveform})
        if (command == known)
            return true;
    return false;
}

} // namespace

ReplyDevice::ReplyDevice(const ReplyScript& script, VirtualClock& clock) : m_script(script), m_clock(clock) {}

void ReplyDevice::CheckTime() const {
    FuzzCheck(m_clock.Microseconds() <= HangMicroseconds, "hang: the run passed ten virtual minutes");
}

FtStatus ReplyDevice::Call(FtHandle handle) {
    m_clock.Advance(m_script.CallMicroseconds());
    CheckTime();
    if (handle == FtHandle::Null || handle != m_handle)
        return FtInvalidHandle;
    return m_gone ? FtIoError : FtOK;
}

FtStatus ReplyDevice::OpenEx(const char* arg, uint32_t flags, FtHandle& handle) {
    Call(FtHandle::Null);
    FuzzCheck(flags == FtOpenByDescription && arg && std::strcmp(arg, AnalyzerDescription) == 0,
              "opened by the analyzer's description");
    if (m_gone)
        return FtDeviceNotFound;
    if (m_handle != FtHandle::Null)
        return FtDeviceNotOpened; // already open
    m_handle = static_cast<FtHandle>(m_nextHandle++);
    m_line.Clear();
    handle = m_handle;
    return FtOK;
}

FtStatus ReplyDevice::Close(FtHandle handle) {
    if (handle == FtHandle::Null || handle != m_handle)
        return FtInvalidHandle;
    m_handle = FtHandle::Null;
    return FtOK;
}

FtStatus ReplyDevice::GetQueueStatus(FtHandle handle, uint32_t& rxBytes) {
    const FtStatus status = Call(handle);
    if (status == FtOK)
        rxBytes = m_line.Arrived(m_clock.Microseconds());
    return status;
}

FtStatus ReplyDevice::Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) {
    const FtStatus status = Call(handle);
    if (status != FtOK)
        return status;
    const ReplyKind fault = std::exchange(m_readFault, ReplyKind::AtOnce);
    if (fault == ReplyKind::ReadFails)
        return FtIoError;
    const uint32_t ask = fault == ReplyKind::ShortRead && toRead > 0 ? toRead - 1 : toRead;
    bytesReturned = m_line.Take(m_clock.Microseconds(), buffer, ask);
    if (m_capturing)
        m_waveformRead.append(static_cast<const char*>(buffer), bytesReturned);
    return FtOK;
}

FtStatus ReplyDevice::Write(FtHandle handle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) {
    const FtStatus status = Call(handle);
    if (status != FtOK)
        return status;
    const std::string_view frame(static_cast<const char*>(buffer), toWrite);
    FuzzCheck(!frame.empty() && frame.back() == CommandTerminator &&
                  IsAnalyzerCommand(frame.substr(0, toWrite - 1)),
              "every write is one of the analyzer's commands and its terminator");
    const std::string_view command = frame.substr(0, toWrite - 1);
    m_commands.append(QByteArray(command.data(), static_cast<qsizetype>(command.size())));
    m_capturing = command == CmdWaveform;
    m_waveformRead.clear();

    ScriptedReply reply;
    if (m_nextReply < m_script.replies.size())
        reply = m_script.replies[m_nextReply++];
    switch (reply.kind) {
    case ReplyKind::WriteFails:
        return FtIoError;
    case ReplyKind::DeviceGone:
        m_gone = true;
        return FtIoError;
    case ReplyKind::ShortWrite:
        bytesWritten = toWrite - 1;
        return FtOK;
    default:
        bytesWritten = toWrite;
        Answer(reply);
        return FtOK;
    }
}

void ReplyDevice::Answer(const ScriptedReply& reply) {
    if (!CarriesBytes(reply.kind))
        return;
    if (reply.kind == ReplyKind::ShortRead || reply.kind == ReplyKind::ReadFails)
        m_readFault = reply.kind;
    m_line.SetSpeed(reply.kind == ReplyKind::Trickle ? WireBytesPerSecond : 0);
    m_line.Send(reply.bytes, m_clock.Microseconds() + reply.delaySteps * DelayStepMicroseconds);
}

FtStatus ReplyDevice::Purge(FtHandle handle, uint32_t mask) {
    const FtStatus status = Call(handle);
    if (status == FtOK && (mask & FtPurgeRx))
        m_line.DropArrived(m_clock.Microseconds());
    return status;
}

FtStatus ReplyDevice::GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes, uint32_t& eventWord) {
    const FtStatus status = Call(handle);
    if (status == FtIoError)
        eventWord = FtEventDeviceGone;
    if (status != FtOK)
        return status;
    rxBytes = m_line.Arrived(m_clock.Microseconds());
    txBytes = 0;
    eventWord = 0;
    return FtOK;
}
