#pragma once
// The wire trace: every call the transport makes to the analyzer, with the bytes that went out and
// came in, time-stamped. A fault seen in the field is then a file that support can turn into a
// scripted test. The trace is a seam like the clock: nothing is recorded until a sink is installed.

#include "base/seam.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

enum class WireEventKind {
    Open,       // text: the description asked for; status
    Close,      //
    Write,      // bytes: what was handed to the driver; value: bytes accepted; status
    Read,       // bytes: what was delivered; value: bytes asked for; status
    QueueError, // status of a failed receive-queue query
    Purge,      // value: the purge mask; status
    LinkCheck,  // value: the event word; status
};

struct WireEvent {
    WireEventKind kind = WireEventKind::Open;
    uint32_t status = 0;
    uint32_t value = 0;
    QByteArray bytes;
    QByteArray text;
};

class WireTrace {
public:
    virtual ~WireTrace() = default;
    virtual void Record(const WireEvent& event) = 0;
};

// Nothing is traced until a sink is installed (ScopedInstall<WireTrace>).
template <> Seam<WireTrace>& TheSeam<WireTrace>();
// The installed sink, or nullptr when nothing is traced (the transport then builds no events).
WireTrace* TheWireTrace();

// The lines of one event at `milliseconds` since the trace began: time in seconds, a tag, then the
// details. Data is shown as hex, 16 bytes a line, with the printable characters beside it.
QStringList FormatWireEvent(int64_t milliseconds, const WireEvent& event);
// A time as the trace shows it: seconds and milliseconds, right-aligned ("     1.234").
QString FormatWireTime(int64_t milliseconds);
// The data lines alone, without indent: hex, 16 bytes a line, and the printable characters.
QStringList FormatWireBytes(const QByteArray& bytes);

// One event read back from a trace, with its time in milliseconds since the trace began.
struct TracedEvent {
    int64_t milliseconds = 0;
    WireEvent event;
    qsizetype line = 0; // where the event starts in the lines it was read from, counted from 1
};

// Reads back the lines written by FormatWireEvent (comment lines starting with "#" are skipped), so
// that a trace taken in the field can be replayed in a test. Lines it does not recognise are skipped.
QList<TracedEvent> ParseWireTrace(const QStringList& lines);

// A trace written to a text file, one event after another, flushed after each so that the file is
// complete up to the last call even if the program is killed. Times come from TheClock() and count from
// the first event, so that a command which installs a clock of its own (zrqtool simulate, replay) is
// traced in that clock's time.
class FileWireTrace : public WireTrace {
public:
    // Creates or replaces the file. IsOpen() tells whether that worked; ErrorString() says why not.
    explicit FileWireTrace(const QString& path);
    bool IsOpen() const { return m_file.isOpen(); }
    QString ErrorString() const { return m_file.errorString(); }
    void Record(const WireEvent& event) override;

private:
    QFile m_file;
    std::optional<int64_t> m_start;
};
