#pragma once
// The analyzer's side of a recorded wire trace, played back at the driver seam (ScriptedDriver::Replay).
// Each driver call the program makes is matched with the trace's next event and answered as the trace
// says: the status, the bytes read, the bytes a write took, the event word of a link check. The
// analyzer's bytes become readable as long after the program's last own action (open, write, purge,
// link check, close) as they were read after it in the trace, so the program's read windows, pauses
// and polls see the times of the recording; on a virtual clock that takes no real time.
//
// The first call that the trace does not have next is where the program and the trace part ways; so
// is waiting for the analyzer where the trace has the program act, and stopping where the trace goes
// on. From the parting on the analyzer is gone: every call fails as with an unplugged analyzer, so the
// program soon ends.

#include "link/ftdidriver.h"
#include "link/wiretrace.h"
#include "sim/virtualclock.h"

#include <QList>
#include <optional>

struct TraceParting {
    enum class How {
        Call,    // the program made `call` where the trace has event `index`
        Waited,  // the program waited for the analyzer where the trace has event `index`
        Stopped, // the program did nothing more where the trace goes on with event `index`
    };
    How how = How::Call;
    qsizetype index = 0; // into the trace; the trace's size when it had ended
    // Call: the kind, and what the program chose: the description opened, the bytes written, the count
    // asked for, the purge mask. The rest is the analyzer's and is left empty.
    WireEvent call;
    int64_t milliseconds = 0; // playback time
};

class TracePlayer {
public:
    // How long after the trace's program went on the program may still wait for the analyzer.
    static constexpr int64_t PatienceMicroseconds = 10'000'000;

    TracePlayer(QList<TracedEvent> trace, VirtualClock& clock);

    FtStatus OpenEx(const char* description);
    FtStatus Close();
    FtStatus GetQueueStatus(uint32_t& rxBytes);
    FtStatus Read(void* buffer, uint32_t toRead, uint32_t& bytesReturned);
    FtStatus Write(const QByteArray& bytes, uint32_t& bytesWritten);
    FtStatus Purge(uint32_t mask);
    FtStatus GetStatus(uint32_t& eventWord);

    // The program has ended: it parts from the trace when the trace goes on.
    void Finish();

    const QList<TracedEvent>& Trace() const { return m_trace; }
    // Events played so far.
    qsizetype Played() const { return m_next; }
    const std::optional<TraceParting>& Parting() const { return m_parting; }
    // Playback time.
    int64_t Milliseconds() const { return (m_clock.Microseconds() - m_start) / 1000; }

private:
    // The trace's next event when it is `call`; nullptr (and the parting) when it is not.
    const WireEvent* Play(const WireEvent& call);
    void Part(TraceParting::How how, const WireEvent& call = {});
    // When the event at `index` comes, on the clock.
    int64_t Due(qsizetype index) const;

    QList<TracedEvent> m_trace;
    VirtualClock& m_clock;
    int64_t m_start;
    qsizetype m_next = 0;
    // The program's last own action: its time in the trace and on the clock.
    int64_t m_actionTraced = 0;
    int64_t m_actionAt;
    std::optional<TraceParting> m_parting;
};
