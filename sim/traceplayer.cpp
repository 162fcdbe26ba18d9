#include "sim/traceplayer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Whether the program's call is the one the trace has next: the same kind, and the same in what the
// program chooses. The rest (statuses, bytes read, the event word) is the analyzer's answer.
bool SameCall(const WireEvent& traced, const WireEvent& call) {
    if (traced.kind != call.kind)
        return false;
    switch (call.kind) {
    case WireEventKind::Open:
        return traced.text == call.text;
    case WireEventKind::Write:
        return traced.bytes == call.bytes;
    case WireEventKind::Read:
    case WireEventKind::Purge:
        return traced.value == call.value;
    case WireEventKind::Close:
    case WireEventKind::QueueError:
    case WireEventKind::LinkCheck:
        break;
    }
    return true;
}

// What the analyzer does by itself, timed from the program's last own action.
bool IsAnalyzers(WireEventKind kind) {
    return kind == WireEventKind::Read || kind == WireEventKind::QueueError;
}

WireEvent Call(WireEventKind kind, uint32_t value = 0, QByteArray bytes = {}, QByteArray text = {}) {
    return WireEvent{kind, 0, value, std::move(bytes), std::move(text)};
}

} // namespace

TracePlayer::TracePlayer(QList<TracedEvent> trace, VirtualClock& clock)
    : m_trace(std::move(trace)), m_clock(clock), m_start(clock.Microseconds()), m_actionAt(m_start) {}

int64_t TracePlayer::Due(qsizetype index) const {
    // Trace times are whole milliseconds, cut off: one millisecond early, the program never reads an
    // answer later than it did when the trace was taken.
    const int64_t after = m_trace[index].milliseconds - m_actionTraced - 1;
    return m_actionAt + std::max<int64_t>(after, 0) * 1000;
}

void TracePlayer::Part(TraceParting::How how, const WireEvent& call) {
    if (!m_parting)
        m_parting = TraceParting{how, m_next, call, Milliseconds()};
}

const WireEvent* TracePlayer::Play(const WireEvent& call) {
    if (m_parting)
        return nullptr;
    if (m_next == m_trace.size() || !SameCall(m_trace[m_next].event, call)) {
        Part(TraceParting::How::Call, call);
        return nullptr;
    }
    const TracedEvent& traced = m_trace[m_next++];
    if (!IsAnalyzers(traced.event.kind)) {
        m_actionTraced = traced.milliseconds;
        m_actionAt = m_clock.Microseconds();
    }
    return &traced.event;
}

void TracePlayer::Finish() {
    if (m_next < m_trace.size())
        Part(TraceParting::How::Stopped);
}

FtStatus TracePlayer::OpenEx(const char* description) {
    const WireEvent* traced = Play(Call(WireEventKind::Open, 0, {}, description));
    return traced ? static_cast<FtStatus>(traced->status) : FtDeviceNotFound;
}

FtStatus TracePlayer::Close() {
    const WireEvent* traced = Play(Call(WireEventKind::Close));
    return traced ? static_cast<FtStatus>(traced->status) : FtOK;
}

FtStatus TracePlayer::GetQueueStatus(uint32_t& rxBytes) {
    if (!m_parting && m_next == m_trace.size())
        Part(TraceParting::How::Waited);
    if (m_parting)
        return FtIoError;
    const int64_t now = m_clock.Microseconds();
    const WireEvent& next = m_trace[m_next].event;
    if (next.kind == WireEventKind::QueueError && Due(m_next) <= now) {
        ++m_next;
        return static_cast<FtStatus>(next.status);
    }
    if (!IsAnalyzers(next.kind) && now > Due(m_next) + PatienceMicroseconds) {
        Part(TraceParting::How::Waited);
        return FtIoError;
    }
    // The reads that have come, up to the program's next own action: each was asked for in full.
    uint32_t waiting = 0;
    for (qsizetype i = m_next;
         i < m_trace.size() && m_trace[i].event.kind == WireEventKind::Read && Due(i) <= now; ++i)
        waiting += m_trace[i].event.value;
    rxBytes = waiting;
    return FtOK;
}

FtStatus TracePlayer::Read(void* buffer, uint32_t toRead, uint32_t& bytesReturned) {
    const WireEvent* traced = Play(Call(WireEventKind::Read, toRead));
    if (!traced)
        return FtIoError;
    const auto n = static_cast<uint32_t>(std::min<qsizetype>(traced->bytes.size(), toRead));
    std::memcpy(buffer, traced->bytes.constData(), n);
    bytesReturned = n;
    return static_cast<FtStatus>(traced->status);
}

FtStatus TracePlayer::Write(const QByteArray& bytes, uint32_t& bytesWritten) {
    const WireEvent* traced = Play(Call(WireEventKind::Write, 0, bytes));
    if (!traced)
        return FtIoError;
    bytesWritten = traced->value;
    return static_cast<FtStatus>(traced->status);
}

FtStatus TracePlayer::Purge(uint32_t mask) {
    const WireEvent* traced = Play(Call(WireEventKind::Purge, mask));
    return traced ? static_cast<FtStatus>(traced->status) : FtIoError;
}

FtStatus TracePlayer::GetStatus(uint32_t& eventWord) {
    const WireEvent* traced = Play(Call(WireEventKind::LinkCheck));
    eventWord = traced ? traced->value : FtEventDeviceGone;
    return traced ? static_cast<FtStatus>(traced->status) : FtIoError;
}
