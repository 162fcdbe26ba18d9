#pragma once
// A byte-exact fake of the FTDI driver: replies arrive in the receive queue at set virtual times (on the
// serial line of the simulated analyzer, SimLine), every call is logged, and each result can be forced. Each
// queue-status call moves the virtual clock on by `pollMicroseconds`, as a real round trip would. Or it plays
// the analyzer's side of a recorded wire trace (Replay), and tells where the program did something else
// (TracePlayer).

#include "link/ftdidriver.h"
#include "link/wiretrace.h"
#include "sim/simline.h"
#include "sim/traceplayer.h"
#include "sim/virtualclock.h"

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <optional>

class ScriptedDriver : public FtdiDriver {
public:
    // Installed as the driver for its lifetime.
    explicit ScriptedDriver(VirtualClock& clock) : m_clock(clock), m_installed(*this) {}

    // `bytes` arrive `afterMicroseconds` from now.
    void Deliver(const QByteArray& bytes, int64_t afterMicroseconds = 0);
    // From now on every call is answered as the trace has it, instead of by Deliver and the forced
    // results below; the calls are still logged.
    void Replay(const QList<TracedEvent>& trace);
    // The playback of the trace given to Replay, or nullptr.
    TracePlayer* Playback() const { return m_playback.get(); }

    int64_t pollMicroseconds = 1000;
    FtStatus openStatus = FtOK;
    FtStatus queueStatus = FtOK;
    FtStatus readStatus = FtOK;
    FtStatus writeStatus = FtOK;
    // Deliver this many bytes at most on a read, whatever was asked.
    std::optional<uint32_t> readLimit;
    // Accept this many bytes at most on a write.
    std::optional<uint32_t> writeLimit;
    // What GetStatus writes into the event word; nullopt leaves it untouched.
    std::optional<uint32_t> eventWord = 0;

    // The calls in order; a run of queue-status polls is logged once.
    QStringList calls;
    QByteArray written;
    int queuePolls = 0;
    // Bytes that have arrived and not been read.
    uint32_t Waiting();

    FtStatus OpenEx(const char* arg, uint32_t flags, FtHandle& handle) override;
    FtStatus Close(FtHandle handle) override;
    FtStatus GetQueueStatus(FtHandle handle, uint32_t& rxBytes) override;
    FtStatus Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) override;
    FtStatus Write(FtHandle handle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) override;
    FtStatus Purge(FtHandle handle, uint32_t mask) override;
    FtStatus GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes, uint32_t& eventWord) override;

    static constexpr FtHandle Handle = static_cast<FtHandle>(0x5A);

private:
    void Log(const QString& call);

    VirtualClock& m_clock;
    const ScopedInstall<FtdiDriver> m_installed;
    SimLine m_line;
    std::unique_ptr<TracePlayer> m_playback;
};
