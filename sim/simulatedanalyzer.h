#pragma once
// The simulated analyzer: a stand-in for the Corvex analyzer, its load accessory and the
// defibrillator under test, plugged in at the FTDI driver seam. Install it with ScopedInstall<FtdiDriver>
// and the transport, the protocol and the test run work against it exactly as against a real
// analyzer; nothing above the seam knows the difference.
//
// It answers the eight commands with replies of the right size, byte order and timing. Replies leave
// after a short processing delay and fill the host's receive queue at the wire speed. Time is either
// a VirtualClock (tests: each driver call moves it on a little, so busy polling ends in virtual time)
// or the real clock (the demo program).
//
// The discharge is fired by the driving code (Discharge(), e.g. from the demo's Simulator window) or
// by itself a set time after "DEHT". It is measured at the analyzer's own 50-ohm load in the circuit
// that the accessory's jumpers form, so that the load correction of the record gives consistent
// values for every load. Faults are injected with InjectFault().
//
// Everything runs on the caller's thread; the object keeps no thread of its own.

#include "link/ftdidriver.h"
#include "records/tzrtestrec.h"
#include "sim/accessory.h"
#include "sim/defibmodel.h"
#include "sim/measurement.h"
#include "sim/simfault.h"
#include "sim/simline.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <chrono>
#include <functional>
#include <optional>

class VirtualClock;
struct DateStamp;

struct SimTiming {
    // Bytes per second from the analyzer to the host: 960 is 9600 baud, the chip's default; 0 sends
    // every reply at once.
    int bytesPerSecond = 960;
    // From the command's terminator to the first byte of the reply.
    int replyDelayMicroseconds = 3000;
    // Virtual time each driver call takes (ignored in real time).
    int callMicroseconds = 20;
    // From the discharge to the energy text.
    int measureMilliseconds = 1200;
    // The defibrillator fires by itself this long after "DEHT"; -1: only when Discharge() is called.
    int autoDischargeMilliseconds = -1;
};

enum class SimState {
    Idle,                // answering commands
    WaitingForDischarge, // after "DEHT", until a discharge, ESC or the "TEST" text
    Measuring,           // a discharge was taken; the energy text follows
};

class SimulatedAnalyzer : public QObject, public FtdiDriver {
    Q_OBJECT
public:
    // With a virtual clock (not owned; it must outlive this object) or, with nullptr, in real time.
    explicit SimulatedAnalyzer(VirtualClock* clock = nullptr, QObject* parent = nullptr);
    ~SimulatedAnalyzer() override;

    // --- the USB cable
    // Plugged in at construction. Unplugging makes an open handle fail (its event word turns non-zero)
    // and opening fail until the analyzer is plugged in again.
    void Plug();
    void Unplug();
    bool IsPlugged() const { return m_plugged; }
    bool IsOpen() const { return m_handle != FtHandle::Null; }

    // --- timing
    void SetTiming(const SimTiming& timing);
    const SimTiming& Timing() const { return m_timing; }

    // --- the analyzer
    // Sixteen characters at most, sent in the status block.
    void SetAnalyzerID(const QByteArray& id);
    // The date and time in the status block; without one, the clock's current date and time.
    void SetStatusDate(std::optional<DateStamp> stamp);
    // The analyzer's own load, 0.01 ohm (5000 = 50.00 ohms).
    void SetAnalyzerLoad(uint16_t centiOhms);
    uint16_t AnalyzerLoad() const { return m_analyzerLoad; }

    // --- the accessory: jumpers, banks, cable and resistances, set by hand...
    SimAccessory& Accessory() { return m_accessory; }
    const SimAccessory& Accessory() const { return m_accessory; }
    // ...or following the load that the driving code says is being tested (an index 0..6; anything
    // else leaves the jumpers as they are). An empty function turns following off.
    void FollowLoad(std::function<int()> currentLoad);

    // --- the defibrillator
    void SetDefibrillator(const DefibSettings& settings);
    const DefibSettings& Defibrillator() const { return m_defib; }
    // Fires the defibrillator. Measured only while the analyzer waits for a discharge (returns true);
    // otherwise nothing happens.
    bool Discharge();
    // The analyzer's "TEST" text, as when its own test key is pressed during the wait. True when it
    // was waiting.
    bool SendTestText();

    // --- faults
    void InjectFault(const SimFault& fault);
    void ClearFaults();
    // Removes the pending faults of this kind on this command.
    void RemoveFault(SimFault::Kind kind, const QByteArray& command);
    bool HasFault(SimFault::Kind kind, const QByteArray& command) const;
    int PendingFaults() const { return static_cast<int>(m_faults.size()); }

    // --- what happened
    SimState State() const { return m_state; }
    // Every command received, without its terminator, oldest first.
    const QList<QByteArray>& Commands() const { return m_commands; }
    // The last measured discharge (block in host order, samples as recorded); zeros before any.
    const TMeasurementBlock& LastBlock() const { return m_lastBlock; }
    const SampleArray& LastSamples() const { return m_lastSamples; }
    bool HasMeasurement() const { return m_hasMeasurement; }
    // The 37 bytes the analyzer sends to "GS" now.
    QByteArray StatusBlock() const;

    // --- FtdiDriver
    FtStatus OpenEx(const char* arg, uint32_t flags, FtHandle& handle) override;
    FtStatus Close(FtHandle handle) override;
    FtStatus GetQueueStatus(FtHandle handle, uint32_t& rxBytes) override;
    FtStatus Read(FtHandle handle, void* buffer, uint32_t toRead, uint32_t& bytesReturned) override;
    FtStatus Write(FtHandle handle, const void* buffer, uint32_t toWrite, uint32_t& bytesWritten) override;
    FtStatus Purge(FtHandle handle, uint32_t mask) override;
    FtStatus GetStatus(FtHandle handle, uint32_t& rxBytes, uint32_t& txBytes, uint32_t& eventWord) override;

signals:
    // The USB cable was plugged in or pulled (by hand or by a fault).
    void PlugChanged(bool plugged);
    // A fault was injected, removed, or taken by the command it waited for.
    void FaultsChanged();
    void CommandReceived(const QByteArray& command);
    void StateChanged(SimState state);
    void Discharged(double joules);

private:
    int64_t Now() const;
    void Spend();
    void FireDischarge(int64_t at);
    // Fires the timed events that are due (automatic discharge, the energy text).
    void Update();
    FtStatus Usable(FtHandle handle) const;
    void SetState(SimState state);
    void Receive(char byte);
    void HandleCommand(const QByteArray& command);
    // The injected fault `command` takes, if any; one that has been used up is removed.
    std::optional<SimFault> TakeFault(const QByteArray& command);
    // The answer to `command` and what the command does, received at `now`; nothing for a command
    // this analyzer does not know.
    std::optional<QByteArray> Reply(const QByteArray& command, int64_t now);
    // Changes the reply, its delay or the analyzer's state as `fault` says.
    void ApplyFault(const SimFault& fault, const QByteArray& command, QByteArray& reply, int64_t& delay);
    QByteArray EnergyText() const;
    void ApplyFollowedLoad();

    VirtualClock* m_clock;
    std::chrono::steady_clock::time_point m_origin;
    SimTiming m_timing;
    SimLine m_line;

    bool m_plugged = true;
    FtHandle m_handle = FtHandle::Null;
    bool m_handleGone = false;
    uintptr_t m_nextHandle = 1;

    QByteArray m_analyzerId = SIMULATED_ANALYZER_ID;
    QByteArray m_statusDate; // six bytes, or empty for the clock's date
    uint16_t m_analyzerLoad = 5000;
    SimAccessory m_accessory;
    std::function<int()> m_followLoad;
    // The analyzer's link to the accessory: up at power-on; lost when the cable is pulled, and then
    // only "VN" brings it back.
    bool m_accessoryLinked = true;
    DefibSettings m_defib;

    QByteArray m_pending; // command bytes received so far
    QList<QByteArray> m_commands;
    QList<SimFault> m_faults;

    SimState m_state = SimState::Idle;
    bool m_silentWait = false;          // no text during this discharge wait
    int m_lineEndDelayMs = 0;           // the energy reading's line end comes this much later
    int64_t m_dischargeAt = -1;         // automatic discharge due
    int64_t m_textAt = -1;              // energy text due
    std::optional<uint64_t> m_unplugAt; // the device is gone once the host has taken this many bytes

    TMeasurementBlock m_lastBlock;
    SampleArray m_lastSamples{};
    bool m_hasMeasurement = false;
};
