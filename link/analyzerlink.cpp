#include "link/analyzerlink.h"

#include "link/protocol.h"
#include "link/usbcomm.h"
#include "link/wiretrace.h"

static_assert(WaveformBytes == WaveformReplySize);
static_assert(StatusBlockSize == StatusReplySize);

namespace {

void Trace(WireEventKind kind, FtStatus status, QByteArray text = {}) {
    if (WireTrace* trace = TheWireTrace())
        trace->Record(WireEvent{kind, static_cast<uint32_t>(status), 0, {}, std::move(text)});
}

// A reply of `size` bytes to `command`, read into a buffer cleared to zeros.
LinkOutcome Ask(AnalyzerLink& link, std::string_view command, ReplyBuffer& reply, uint32_t size) {
    LinkOutcome outcome;
    ClearReply(reply);
    SendCommand(link, command, &outcome.faults);
    if (UsbRead(link, reply.data(), size, &outcome.faults) != 0)
        outcome.error = LinkError::TimeOut;
    return outcome;
}

LinkOutcome Acknowledged(AnalyzerLink& link, std::string_view command) {
    ReplyBuffer reply;
    LinkOutcome outcome = Ask(link, command, reply, AckReplySize);
    if (outcome.Ok() && !IsAcknowledgement(reply))
        outcome.error = LinkError::Garbled;
    return outcome;
}

} // namespace

LinkError AnalyzerLink::Open() {
    const FtStatus status = TheFtdiDriver().OpenEx(AnalyzerDescription, FtOpenByDescription, m_handle);
    Trace(WireEventKind::Open, status, AnalyzerDescription);
    if (status == FtOK)
        return LinkError::None;
    m_handle = FtHandle::Null;
    return status == FtDeviceNotPermitted ? LinkError::NotPermitted : LinkError::NotDetected;
}

void AnalyzerLink::Close() {
    if (m_handle == FtHandle::Null)
        return;
    const FtStatus status = TheFtdiDriver().Close(m_handle);
    Trace(WireEventKind::Close, status);
    m_handle = FtHandle::Null;
}

LinkOutcome AnalyzerLink::QueryStatus(std::span<uint8_t, StatusBlockSize> block) {
    LinkOutcome result;
    SendCommand(*this, CmdStatus, &result.faults);
    if (UsbReadWithinWindow(*this, block.data(), StatusBlockSize, &result.faults) != 0) {
        result.error = LinkError::TimeOut;
        Close();
    }
    return result;
}

LinkOutcome AnalyzerLink::ConnectAccessory() {
    return Acknowledged(*this, CmdAccessoryConnect);
}

LinkResult<LoadConfiguration> AnalyzerLink::ReadLoadConfiguration() {
    ReplyBuffer reply;
    LinkResult<LoadConfiguration> result;
    static_cast<LinkOutcome&>(result) = Ask(*this, CmdLoadConfig, reply, LoadConfigReplySize);
    std::copy_n(reply.begin(), LoadConfigReplySize, result.value.bytes.begin());
    if (result.Ok() && IsAccessoryNotConnected(result.value.Bank(), result.value.Resistance()))
        result.error = LinkError::NotConnected;
    return result;
}

LinkOutcome AnalyzerLink::SendStep(int loadIndex) {
    return Acknowledged(*this, StepCommand(loadIndex));
}

TransportFaults AnalyzerLink::StartDischargeWait() {
    TransportFaults faults;
    Purge();
    SendCommand(*this, CmdDischargeWait, &faults);
    return faults;
}

ByteTry AnalyzerLink::TryReadByte() {
    ByteTry result;
    const int r = UsbReadAttempt(*this, &result.byte, 1, &result.faults);
    result.end = r == 0 ? ByteTry::End::Byte : r > 0 ? ByteTry::End::NotYet : ByteTry::End::Failed;
    return result;
}

DownloadResult AnalyzerLink::Download(WaveformReply reply, ProgressStepper* progress) {
    DownloadResult result;
    SendCommand(*this, CmdWaveform, &result.faults);
    BlockReadResult read;
    if (UsbReadBlocks(*this, reply.data(), WaveformBytes, progress, 1, &read, &result.faults) != 0) {
        result.error = read.end == BlockReadResult::End::ReadFailed    ? LinkError::ReadError
                       : read.end == BlockReadResult::End::QueueFailed ? LinkError::QueueError
                                                                       : LinkError::Interrupted;
    }
    result.bytes = read.blocks;
    return result;
}

LinkOutcome AnalyzerLink::Abort(int textBefore) {
    LinkOutcome outcome;
    SendCommand(*this, CmdAbort, &outcome.faults);
    bool other = false;
    for (int byte = 0; byte <= textBefore; ++byte) {
        ReplyBuffer reply;
        ClearReply(reply);
        if (UsbRead(*this, reply.data(), AbortReplySize, &outcome.faults) != 0) {
            outcome.error = other ? LinkError::Garbled : LinkError::TimeOut;
            return outcome;
        }
        if (IsAbortAcknowledgement(reply))
            return outcome;
        other = true;
    }
    outcome.error = LinkError::Garbled;
    return outcome;
}

bool AnalyzerLink::Answers() {
    return UsbCheckLink(*this) == 0;
}

void AnalyzerLink::Purge() {
    UsbPurge(*this);
}
