#include "link/wiretrace.h"

#include "base/clock.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

constexpr int BytesPerLine = 16;
// Data lines are indented past the time and the tag: "    12.345 TX    " is 17 characters.
constexpr int DataIndent = 17;

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

QString WithoutTrailingSpaces(QString line) {
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line;
}

QString Summary(const WireEvent& e) {
    switch (e.kind) {
    case WireEventKind::Open:
        return QStringLiteral("\"%1\" status %2").arg(QString::fromLatin1(e.text)).arg(e.status);
    case WireEventKind::Close:
    case WireEventKind::QueueError:
        return QStringLiteral("status %1").arg(e.status);
    case WireEventKind::Write:
        return QStringLiteral("%1 bytes, %2 accepted, status %3")
            .arg(e.bytes.size())
            .arg(e.value)
            .arg(e.status);
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

template <> Seam<WireTrace>& TheSeam<WireTrace>() {
    static Seam<WireTrace> seam;
    return seam;
}

WireTrace* TheWireTrace() {
    return TheSeam<WireTrace>().Get();
}

QString FormatWireTime(int64_t milliseconds) {
    return QStringLiteral("%1.%2")
        .arg(milliseconds / 1000, 6)
        .arg(milliseconds % 1000, 3, 10, QLatin1Char('0'));
}

QStringList FormatWireEvent(int64_t milliseconds, const WireEvent& event) {
    const QString head = FormatWireTime(milliseconds) + QLatin1Char(' ') + Tag(event.kind);
    QStringList lines;
    QString first = head;
    const QString summary = Summary(event);
    if (!summary.isEmpty())
        first += QLatin1Char(' ') + summary;
    lines << WithoutTrailingSpaces(first);
    const QString indent(head.size() + 1, QLatin1Char(' '));
    for (const QString& data : FormatWireBytes(event.bytes))
        lines << indent + data;
    return lines;
}

QStringList FormatWireBytes(const QByteArray& bytes) {
    QStringList lines;
    for (qsizetype i = 0; i < bytes.size(); i += BytesPerLine)
        lines << WithoutTrailingSpaces(HexLine(bytes, i));
    return lines;
}

QList<TracedEvent> ParseWireTrace(const QStringList& lines) {
    static const QRegularExpression head(
        QStringLiteral(R"(^\s*(\d+)\.(\d{3}) (OPEN |CLOSE|TX   |RX   |QUEUE|PURGE|LINK )(.*)$)"));
    static const QRegularExpression status(QStringLiteral(R"(status (\d+))"));
    static const QRegularExpression firstNumbers(QStringLiteral(R"((\d+)\D+(\d+))"));
    static const QRegularExpression hexValue(QStringLiteral(R"(0x([0-9a-fA-F]+))"));
    static const QRegularExpression quoted(QStringLiteral(R"re("(.*)")re"));
    QList<TracedEvent> events;
    for (qsizetype number = 1; number <= lines.size(); ++number) {
        const QString& line = lines[number - 1];
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch m = head.match(line);
        if (m.hasMatch()) {
            TracedEvent traced;
            traced.line = number;
            traced.milliseconds = m.captured(1).toLongLong() * 1000 + m.captured(2).toLongLong();
            const QString tag = m.captured(3).trimmed();
            const QString rest = m.captured(4);
            WireEvent& e = traced.event;
            e.status = status.match(rest).captured(1).toUInt();
            const QRegularExpressionMatch numbers = firstNumbers.match(rest);
            if (tag == QLatin1String("OPEN")) {
                e.kind = WireEventKind::Open;
                e.text = quoted.match(rest).captured(1).toLatin1();
            } else if (tag == QLatin1String("CLOSE")) {
                e.kind = WireEventKind::Close;
            } else if (tag == QLatin1String("TX")) {
                e.kind = WireEventKind::Write;
                e.value = numbers.captured(2).toUInt(); // "N bytes, A accepted"
            } else if (tag == QLatin1String("RX")) {
                e.kind = WireEventKind::Read;
                e.value = numbers.captured(2).toUInt(); // "N of M bytes"
            } else if (tag == QLatin1String("QUEUE")) {
                e.kind = WireEventKind::QueueError;
            } else if (tag == QLatin1String("PURGE")) {
                e.kind = WireEventKind::Purge;
                e.value = numbers.captured(1).toUInt(); // "mask M"
            } else {
                e.kind = WireEventKind::LinkCheck;
                e.value = hexValue.match(rest).captured(1).toUInt(nullptr, 16);
            }
            events << traced;
            continue;
        }
        // A data line of the event before: hex bytes, then the same bytes as text.
        if (events.isEmpty() || line.size() <= DataIndent || !line.left(DataIndent).trimmed().isEmpty())
            continue;
        const QStringList hex =
            line.mid(DataIndent, BytesPerLine * 3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& byte : hex)
            events.last().event.bytes.append(static_cast<char>(byte.toUInt(nullptr, 16)));
    }
    return events;
}

FileWireTrace::FileWireTrace(const QString& path) : m_file(path) {
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
    const int64_t now = TheClock().Milliseconds();
    if (!m_start)
        m_start = now;
    for (const QString& line : FormatWireEvent(now - *m_start, event)) {
        m_file.write(line.toLatin1());
        m_file.write("\n");
    }
    m_file.flush();
}
