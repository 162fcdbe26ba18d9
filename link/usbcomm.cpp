#include "link/usbcomm.h"

#include "base/clock.h"
#include "link/wiretrace.h"
#include "records/measurementfields.h"

#include <cstring>
#include <vector>

namespace {

void Trace(WireEventKind kind, uint32_t status, uint32_t value = 0, QByteArray bytes = {},
           QByteArray text = {}) {
    if (WireTrace* trace = TheWireTrace())
        trace->Record(WireEvent{kind, status, value, std::move(bytes), std::move(text)});
}

void Fault(TransportFaults* faults, TransportFault::Kind kind, uint32_t value) {
    if (faults)
        faults->append(TransportFault{kind, value});
}

QByteArray Bytes(const void* data, uint32_t count) {
    return QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(count));
}

// One try of UsbReadAttempt, with the reason of a failure.
enum class Attempt { Done, NotYet, QueueFailed, ReadFailed };

Attempt AttemptRead(FtHandle* handle, void* buffer, uint32_t count, TransportFaults* faults) {
    FtdiDriver& driver = TheFtdiDriver();
    uint32_t waiting = 0;
    FtStatus status = driver.GetQueueStatus(*handle, waiting);
    if (status != FtOK) {
        Trace(WireEventKind::QueueError, status);
        return Attempt::QueueFailed;
    }
    if (waiting < count)
        return Attempt::NotYet;

    uint32_t delivered = 0;
    status = driver.Read(*handle, buffer, count, delivered);
    if (TheWireTrace())
        Trace(WireEventKind::Read, status, count, Bytes(buffer, delivered <= count ? delivered : count));
    if (status != FtOK) {
        Fault(faults, TransportFault::Kind::ReadStatus, static_cast<uint32_t>(status));
        return Attempt::ReadFailed;
    }
    if (delivered != count) {
        Fault(faults, TransportFault::Kind::ShortRead, delivered);
        return Attempt::ReadFailed;
    }
    return Attempt::Done;
}

// The timed retry shared by UsbRead and UsbQueryStatus: attempts without pause while not enough data
// has arrived and fewer than four whole clock seconds have passed. Returns the last attempt's result
// and the elapsed seconds at its end, which the two callers judge differently.
struct TimedRead {
    Attempt result;
    int64_t elapsed;
    bool Succeeded() const { return result == Attempt::Done && elapsed <= ReadWindowSeconds; }
};

TimedRead ReadWithinWindow(FtHandle* handle, void* buffer, uint32_t count, TransportFaults* faults) {
    Clock& clock = TheClock();
    const int64_t start = clock.Seconds();
    Attempt result = Attempt::NotYet;
    int64_t elapsed = 0;
    while (result == Attempt::NotYet && elapsed < ReadWindowSeconds) {
        result = AttemptRead(handle, buffer, count, faults);
        elapsed = clock.Seconds() - start;
    }
    return {result, elapsed};
}

} // namespace

// The transport's one way to the handle.
struct LinkAccess {
    static FtHandle* Handle(AnalyzerLink& link) { return &link.m_handle; }
};

int UsbReadAttempt(AnalyzerLink& link, void* buffer, uint32_t count, TransportFaults* faults) {
    switch (AttemptRead(LinkAccess::Handle(link), buffer, count, faults)) {
    case Attempt::Done:
        return 0;
    case Attempt::NotYet:
        return 1;
    case Attempt::QueueFailed:
    case Attempt::ReadFailed:
        break;
    }
    return -1;
}

int UsbRead(AnalyzerLink& link, void* buffer, uint32_t count, TransportFaults* faults) {
    return ReadWithinWindow(LinkAccess::Handle(link), buffer, count, faults).Succeeded() ? 0 : -1;
}

int UsbReadWithinWindow(AnalyzerLink& link, void* buffer, uint32_t count, TransportFaults* faults) {
    const TimedRead read = ReadWithinWindow(LinkAccess::Handle(link), buffer, count, faults);
    return read.result == Attempt::Done && read.elapsed < ReadWindowSeconds ? 0 : -1;
}

int UsbReadBlocks(AnalyzerLink& link, void* buffer, uint32_t count, ProgressStepper* progress, uint32_t size,
                  BlockReadResult* result, TransportFaults* faults) {
    FtHandle* handle = LinkAccess::Handle(link);
    BlockReadResult ignored;
    BlockReadResult& out = result ? *result : ignored;
    out = BlockReadResult{};
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (uint32_t i = 0; i < count; ++i) {
        const TimedRead read = ReadWithinWindow(handle, bytes + static_cast<size_t>(i) * size, size, faults);
        if (!read.Succeeded()) {
            out.end = read.result == Attempt::QueueFailed  ? BlockReadResult::End::QueueFailed
                      : read.result == Attempt::ReadFailed ? BlockReadResult::End::ReadFailed
                                                           : BlockReadResult::End::WindowRanOut;
            return -1;
        }
        out.blocks = i + 1;
        if (progress)
            progress->StepIt();
        ThePump().ProcessMessages();
    }
    return 0;
}

int UsbWrite(AnalyzerLink& link, const void* data, uint32_t count, TransportFaults* faults) {
    uint32_t accepted = 0;
    const FtStatus status = TheFtdiDriver().Write(*LinkAccess::Handle(link), data, count, accepted);
    if (TheWireTrace())
        Trace(WireEventKind::Write, status, accepted, Bytes(data, count));
    if (status != FtOK) {
        Fault(faults, TransportFault::Kind::WriteStatus, static_cast<uint32_t>(status));
        return -1;
    }
    if (accepted != count) {
        Fault(faults, TransportFault::Kind::ShortWrite, accepted);
        return -1;
    }
    return 0;
}

void UsbSendCommand(AnalyzerLink& link, const char* command, uint32_t count, TransportFaults* faults) {
    // Command, terminator and a trailing zero that is not sent.
    std::vector<char> frame(static_cast<size_t>(count) + 2, '\0');
    std::memcpy(frame.data(), command, count);
    frame[count] = CommandTerminator;
    UsbWrite(link, frame.data(), count + 1, faults);
}

int UsbCheckLink(AnalyzerLink& link) {
    uint32_t rxBytes = 0;
    uint32_t txBytes = 0;
    uint32_t eventWord = 0xFFFFFFFFu;
    const FtStatus status = TheFtdiDriver().GetStatus(*LinkAccess::Handle(link), rxBytes, txBytes, eventWord);
    Trace(WireEventKind::LinkCheck, status, eventWord);
    return eventWord == 0 ? 0 : -1;
}

void UsbPurge(AnalyzerLink& link) {
    const uint32_t mask = FtPurgeRx | FtPurgeTx;
    const FtStatus status = TheFtdiDriver().Purge(*LinkAccess::Handle(link), mask);
    Trace(WireEventKind::Purge, status, mask);
}

void SwapWord(void* word) {
    auto* bytes = static_cast<uint8_t*>(word);
    const uint8_t first = bytes[0];
    bytes[0] = bytes[1];
    bytes[1] = first;
}

void SwapMeasurementBlock(TMeasurementBlock* block) {
    auto* bytes = reinterpret_cast<uint8_t*>(block);
    for (const TMeasurementField& field : MeasurementFields)
        SwapWord(bytes + field.offset);
}

void SwapWaveform(void* samples) {
    // Byte by byte: the samples of a load inside a packed record may start at an odd address.
    auto* bytes = static_cast<uint8_t*>(samples);
    for (int i = 0; i < SAMPLE_COUNT; ++i)
        SwapWord(bytes + 2 * i);
}

void StoreWaveformReply(const uint8_t* reply, TZRTest& load) {
    std::memcpy(&load.Results, reply, MEASUREMENT_BLOCK_SIZE);
    std::memcpy(load.Samples, reply + MEASUREMENT_BLOCK_SIZE, 2 * SAMPLE_COUNT);
    SwapMeasurementBlock(&load.Results);
    SwapWaveform(load.Samples);
    load.HasData = 1;
}
