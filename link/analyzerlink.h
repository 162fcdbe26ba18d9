#pragma once
// The analyzer: the one object that owns the open analyzer's handle and talks to it. A test run holds
// one AnalyzerLink from the start window to the report; the analyzer is open from a successful Open
// until Close, and the object closes it when it goes, however the run ends. Everything that ends the
// use of the analyzer goes through Close (the status query too, when it fails), so a handle is never
// closed twice and a run that never opened the analyzer closes nothing.
//
// The exchanges of a test are typed calls: each returns its value or a LinkError that says why not.
// The transport's faults on the way (a failed or short read or write) are listed with the result in
// the order they happened, so that the windows can tell each (link/analyzermessages.h); nothing here
// shows a box. The handle itself never leaves: the transport (link/usbcomm.h) is its only other user.

#include "link/ftdidriver.h"
#include "link/progressstepper.h"

#include <QList>
#include <array>
#include <cstdint>
#include <span>

// Why an exchange gave no value.
enum class LinkError {
    None,
    NotDetected,  // the open found no analyzer
    NotPermitted, // the open found one that this user account may not use
    TimeOut,      // the reply did not come within its window
    ReadError,    // the driver failed a read, or delivered too few bytes
    QueueError,   // the driver could not say what is waiting (the analyzer is gone)
    Garbled,      // a reply came, but not the one expected
    NotConnected, // the accessory does not answer ("XX")
    Interrupted,  // a download stopped before its end (see DownloadResult::bytes)
};

// True for every way in which a reply of known length did not come.
constexpr bool IsNoReply(LinkError error) {
    return error == LinkError::TimeOut || error == LinkError::ReadError || error == LinkError::QueueError;
}

// A failed or short read or write, as the transport saw it: the driver's status, or the byte count.
struct TransportFault {
    enum class Kind { ReadStatus, ShortRead, WriteStatus, ShortWrite };
    Kind kind = Kind::ReadStatus;
    uint32_t value = 0;
    bool operator==(const TransportFault&) const = default;
};
using TransportFaults = QList<TransportFault>;

// The result of an exchange without a value.
struct LinkOutcome {
    LinkError error = LinkError::None;
    TransportFaults faults;
    bool Ok() const { return error == LinkError::None; }
};

// The result of an exchange with a value; the value is meaningful only when Ok().
template <class T> struct LinkResult : LinkOutcome { T value{}; };

inline constexpr uint32_t StatusBlockSize = 37;

// The accessory's "RL" reply: bank and resistance characters, then the resistance in 0.01 ohm
// (low byte first).
struct LoadConfiguration {
    std::array<char, 4> bytes{};
    char Bank() const { return bytes[0]; }
    char Resistance() const { return bytes[1]; }
    uint16_t ResistanceHundredths() const {
        return static_cast<uint16_t>(static_cast<uint8_t>(bytes[2]) + 256 * static_cast<uint8_t>(bytes[3]));
    }
    // The start window's test: the text "XX" (bytes 0 and 1 "X", byte 2 zero).
    bool IsNotConnectedText() const { return bytes[0] == 'X' && bytes[1] == 'X' && bytes[2] == '\0'; }
};

// One try of the discharge wait: a byte came, none is waiting yet, or the read failed.
struct ByteTry {
    enum class End { Byte, NotYet, Failed };
    End end = End::NotYet;
    char byte = 0;
    TransportFaults faults;
};

inline constexpr uint32_t WaveformBytes = 10306;
using WaveformReply = std::span<uint8_t, WaveformBytes>;

// A download: how many bytes arrived whole before it ended, and why it ended.
struct DownloadResult : LinkOutcome {
    uint32_t bytes = 0;
};

class AnalyzerLink {
public:
    AnalyzerLink() = default;
    // Takes over a handle opened elsewhere: the probe opens through the backend, which says why an
    // open fails.
    explicit AnalyzerLink(FtHandle opened) : m_handle(opened) {}
    ~AnalyzerLink() { Close(); }
    AnalyzerLink(const AnalyzerLink&) = delete;
    AnalyzerLink& operator=(const AnalyzerLink&) = delete;

    // Opens the analyzer by its USB description: None, NotDetected or NotPermitted.
    LinkError Open();
    // Closes the analyzer if it is open; does nothing otherwise.
    void Close();
    bool IsOpen() const { return m_handle != FtHandle::Null; }

    // "GS": the 37-byte status block as received, into `block` (what arrived stays there even when
    // the query fails). It counts only if it completed in less than the full window; on failure the
    // link is closed.
    LinkOutcome QueryStatus(std::span<uint8_t, StatusBlockSize> block);
    // "VN" and its acknowledgement "*" CR.
    LinkOutcome ConnectAccessory();
    // "RL" and the accessory's 4-byte reply.
    LinkResult<LoadConfiguration> ReadLoadConfiguration();
    // "ECGDJ20" (the 25-ohm load, index 0) or "ECGDJ10" and its acknowledgement.
    LinkOutcome SendStep(int loadIndex);
    // "DEHT": the analyzer sends its discharge text when the discharge has been measured. Returns the
    // faults of the write.
    TransportFaults StartDischargeWait();
    // One byte of a reply of unknown length, without waiting.
    ByteTry TryReadByte();
    // "VW" and its 10306-byte reply into `reply`, byte by byte, stepping `progress` (if any) and
    // keeping the windows alive; what arrived before a failure stays in `reply`.
    DownloadResult Download(WaveformReply reply, ProgressStepper* progress);
    // ESC and its acknowledgement "*", passing over up to `textBefore` bytes of discharge text that
    // were already on their way: TimeOut when nothing came, Garbled when only other bytes did.
    LinkOutcome Abort(int textBefore);
    // True while the analyzer answers the driver's status call.
    bool Answers();
    // Empties both queues of the device.
    void Purge();

private:
    friend struct LinkAccess;
    FtHandle m_handle = FtHandle::Null;
};
