#pragma once
// What zrqtool replay prints: the run as it goes, one line per thing the program does (commands sent,
// bytes received, steps, downloads, boxes), each with its time; and, when the program and the trace
// part ways, the trace's event there and what the program did instead.

#include "cli/headlessrun.h"
#include "link/wiretrace.h"
#include "sim/traceplayer.h"

#include <QTextStream>

// Tells the run while it is installed as the wire trace (a trace installed before, such as zrqtool's
// --trace, still gets every event). Where the program parts from the trace it says so and goes quiet:
// the rest is the program meeting an analyzer that has gone.
class ReplayLog : public HeadlessLog, public WireTrace {
public:
    ReplayLog(const TracePlayer& player, QTextStream& out);
    ~ReplayLog() override;
    ReplayLog(const ReplayLog&) = delete;
    ReplayLog& operator=(const ReplayLog&) = delete;

    void Line(const QString& text);

    void Step(const QString& caption) override;
    void Downloaded(const QString& summary) override;
    void Box(const QString& caption, const QString& text) override;
    void Record(const WireEvent& event) override;

private:
    bool Quiet();
    void Print(int64_t milliseconds, const QString& text);
    void PrintReceived();

    const TracePlayer& m_player;
    QTextStream& m_out;
    const ScopedInstall<WireTrace> m_traced; // a trace installed before goes on getting every event
    bool m_partingTold = false;
    // Bytes read without fault since the last other event, told as one line.
    qsizetype m_received = 0;
    int64_t m_receivedAt = 0;
};

// Where the program and the trace part ways, for a trace read from `path`.
void PrintParting(const TraceParting& parting, const QList<TracedEvent>& trace, const QString& path,
                  QTextStream& out);
