#include "cli/replayreport.h"

namespace {

// The trace's event is shown indented by four; the program's bytes stand under the event's data, which
// the trace indents by seventeen.
const QString EventIndent(4, QLatin1Char(' '));
const QString DataIndent(4 + 17, QLatin1Char(' '));

QString Seconds(int64_t milliseconds) {
    return FormatWireTime(milliseconds).trimmed();
}

// A command as text: the terminator left off, ESC by name, other unprintable bytes in hex.
QString CommandText(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\r' && i + 1 == bytes.size())
            break;
        if (b == 0x1B)
            text += QStringLiteral("ESC");
        else if (b >= 0x20 && b < 0x7F)
            text += QChar(b);
        else
            text += QStringLiteral("<%1>").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

QString Status(uint32_t status) {
    return status == 0 ? QString() : QStringLiteral(", status %1").arg(status);
}

// What the program's call was, as the end of "the program, at 1.234 s, ...".
QString DescribeCall(const WireEvent& call) {
    switch (call.kind) {
    case WireEventKind::Open:
        return QStringLiteral("opens \"%1\"").arg(QString::fromLatin1(call.text));
    case WireEventKind::Close:
        return QStringLiteral("closes the link");
    case WireEventKind::Write:
        return QStringLiteral("writes %1 bytes:").arg(call.bytes.size());
    case WireEventKind::Read:
        return QStringLiteral("reads %1 bytes").arg(call.value);
    case WireEventKind::Purge:
        return QStringLiteral("purges (mask %1)").arg(call.value);
    case WireEventKind::LinkCheck:
        return QStringLiteral("checks the link");
    case WireEventKind::QueueError:
        break;
    }
    return QStringLiteral("asks the receive queue");
}

} // namespace

ReplayLog::ReplayLog(const TracePlayer& player, QTextStream& out)
    : m_player(player), m_out(out), m_traced(*this) {}

ReplayLog::~ReplayLog() {
    PrintReceived();
}

bool ReplayLog::Quiet() {
    if (!m_player.Parting())
        return false;
    if (!m_partingTold) {
        PrintReceived();
        Print(m_player.Parting()->milliseconds, QStringLiteral("here the program and the trace part ways"));
        m_partingTold = true;
    }
    return true;
}

void ReplayLog::Print(int64_t milliseconds, const QString& text) {
    m_out << FormatWireTime(milliseconds) << ' ' << text << '\n';
}

void ReplayLog::PrintReceived() {
    if (m_received > 0)
        Print(m_receivedAt, QStringLiteral("received %1 bytes").arg(m_received));
    m_received = 0;
}

void ReplayLog::Line(const QString& text) {
    if (Quiet())
        return;
    PrintReceived();
    Print(m_player.Milliseconds(), text);
}

void ReplayLog::Step(const QString& caption) {
    Line(QStringLiteral("step ") + caption.trimmed());
}

void ReplayLog::Downloaded(const QString& summary) {
    Line(QStringLiteral("downloaded ") + summary.trimmed());
}

void ReplayLog::Box(const QString& caption, const QString& text) {
    Line(QStringLiteral("box \"%1\": %2").arg(caption, text));
}

void ReplayLog::Record(const WireEvent& e) {
    if (WireTrace* before = m_traced.Previous())
        before->Record(e);
    if (Quiet())
        return;
    if (e.kind == WireEventKind::Read && e.status == 0 && e.bytes.size() == e.value) {
        m_received += e.bytes.size();
        m_receivedAt = m_player.Milliseconds();
        return;
    }
    switch (e.kind) {
    case WireEventKind::Open:
        Line(QStringLiteral("open the analyzer") + Status(e.status));
        break;
    case WireEventKind::Close:
        Line(QStringLiteral("close the link"));
        break;
    case WireEventKind::Write: {
        const QString taken =
            e.value == e.bytes.size() ? QString() : QStringLiteral(", %1 bytes taken").arg(e.value);
        Line(QStringLiteral("send ") + CommandText(e.bytes) + taken + Status(e.status));
        break;
    }
    case WireEventKind::Read:
        Line(QStringLiteral("read %1 of %2 bytes").arg(e.bytes.size()).arg(e.value) + Status(e.status));
        break;
    case WireEventKind::QueueError:
        Line(QStringLiteral("the receive queue fails") + Status(e.status));
        break;
    case WireEventKind::Purge:
        if (e.status != 0)
            Line(QStringLiteral("purge") + Status(e.status));
        break;
    case WireEventKind::LinkCheck:
        if (e.value != 0 || e.status != 0)
            Line(QStringLiteral("the link is gone (event 0x%1%2)")
                     .arg(e.value, 8, 16, QLatin1Char('0'))
                     .arg(Status(e.status)));
        break;
    }
}

void PrintParting(const TraceParting& parting, const QList<TracedEvent>& trace, const QString& path,
                  QTextStream& out) {
    const bool traceEnded = parting.index >= trace.size();
    if (traceEnded) {
        out << "The program and the trace part ways after the trace's last event (" << trace.size() << "):\n"
            << "  the trace has ended\n";
    } else {
        const TracedEvent& expected = trace[parting.index];
        out << "The program and the trace part ways at event " << parting.index + 1 << " of " << trace.size()
            << " (line " << expected.line << " of " << path << "):\n"
            << "  the trace, at " << Seconds(expected.milliseconds) << " s:\n";
        for (const QString& line : FormatWireEvent(expected.milliseconds, expected.event))
            out << EventIndent << line << '\n';
    }
    out << "  the program, at " << Seconds(parting.milliseconds) << " s, ";
    switch (parting.how) {
    case TraceParting::How::Call:
        out << DescribeCall(parting.call) << '\n';
        for (const QString& line : FormatWireBytes(parting.call.bytes))
            out << DataIndent << line << '\n';
        break;
    case TraceParting::How::Waited:
        out << "waits for the analyzer\n";
        break;
    case TraceParting::How::Stopped:
        out << "has ended\n";
        break;
    }
}
