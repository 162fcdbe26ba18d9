#include "link/wiretrace.h"

#include "app/clock.h"

#include <QDateTime>

namespace {

WireTrace* g_trace = nullptr;

constexpr int BytesPerLine = 16;

QString Tag(WireEventKind kind) {
    switch (kind) {
    case WireEventKind::Open:
        return QStringLiteral("OPEN ");
    case WireEventKind::Close:
        return QStringLiteral("CLOSE");
    case WireEventKind::Write:
        return QStringLiteral("TX   ");
    case WireEventKind::Read:
        return QStringLiteral("RX   ");
    case WireEventKind::QueueError:
        return QStringLiteral("QUEUE");
    case WireEventKind::Purge:
        return QStringLiteral("PURGE");
    case WireEventKind::LinkCheck:
        return QStringLiteral("LINK ");
    }
    return QStringLiteral("?    ");
}

// "47 53 0D" padded to a full line's width, then "GS." (non-printable bytes as dots).
QString HexLine(const QByteArray& bytes, qsizetype from) {
    QString hex;
    QString ascii;
    const qsizetype to = qMin(from + BytesPerLine, bytes.size());
    for (qsizetype i = from; i < to; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        hex += QStringLiteral("%1 ").arg(b, 2, 16, QLatin1Char('0')).toUpper();
        ascii += (b >= 0x20 && b < 0x7F) ? QChar(b) : QChar('.');
    }
    return hex.leftJustified(BytesPerLine * 3 + 1) + ascii;
}

QString Summary(const WireEvent& e) {
    switch (e.kind) {
    case WireEventKind::Open:
        return QStringLiteral("\"%1\" status %2").arg(QString::fromLatin1(e.text)).arg(e.status);
    case WireEventKind::Close:
    case WireEventKind::QueueError:
        return QStringLiteral("status %1").arg(e.status);
    case WireEventKind::Write:
        return QStringLiteral("%1 bytes, %2 accepted, status %3").arg(e.bytes.size()).arg(e.value).arg(e.status);
    case WireEventKind::Read:
        return QStringLiteral("%1 of %2 bytes, status %3").arg(e.bytes.size()).arg(e.value).arg(e.status);
    case WireEventKind::Purge:
        return QStringLiteral("mask %1 status %2").arg(e.value).arg(e.status);
    case WireEventKind::LinkCheck:
        return QStringLiteral("event 0x%1 status %2").arg(e.value, 8, 16, QLatin1Char('0')).arg(e.status);
    }
    return QString();
}

} // namespace

WireTrace* TheWireTrace() {
    return g_trace;
}

void InstallWireTrace(WireTrace* trace) {
    g_trace = trace;
}

QStringList FormatWireEvent(int64_t milliseconds, const WireEvent& event) {
    const QString stamp = QStringLiteral("%1.%2")
                              .arg(milliseconds / 1000, 6)
                              .arg(milliseconds % 1000, 3, 10, QLatin1Char('0'));
    const QString head = stamp + QLatin1Char(' ') + Tag(event.kind);
    QStringList lines;
    QString first = head;
    const QString summary = Summary(event);
    if (!summary.isEmpty())
        first += QLatin1Char(' ') + summary;
    lines << first;
    const QString indent(head.size() + 1, QLatin1Char(' '));
    for (qsizetype i = 0; i < event.bytes.size(); i += BytesPerLine)
        lines << indent + HexLine(event.bytes, i);
    for (QString& line : lines)
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
    return lines;
}

FileWireTrace::FileWireTrace(const QString& path) : m_file(path), m_start(TheClock().Milliseconds()) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    m_file.write(QStringLiteral("# CorvexZR wire trace, started %1\n")
                     .arg(QDateTime::currentDateTime().toString(Qt::ISODate))
                     .toUtf8());
    m_file.flush();
}

void FileWireTrace::Record(const WireEvent& event) {
    if (!m_file.isOpen())
        return;
    for (const QString& line : FormatWireEvent(TheClock().Milliseconds() - m_start, event)) {
        m_file.write(line.toLatin1());
        m_file.write("\n");
    }
    m_file.flush();
}
