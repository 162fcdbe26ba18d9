#include "report/testnames.h"

#include <QDateTime>

namespace {

const QString DesignedCaption = QStringLiteral("CorvexZR Test Report Viewer");

// The test's date and time, or an invalid value when the stamp is not one.
QDateTime TestMoment(const TZRTestRec& rec) {
    const DateStamp s = rec.TestDateTime();
    const QDate date(2000 + s.Year, s.Month, s.Day);
    const QTime time(s.Hour, s.Minute, s.Second);
    return date.isValid() && time.isValid() ? QDateTime(date, time) : QDateTime();
}

bool Kept(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') || c == QLatin1Char('.');
}

} // namespace

QString FileNameSafe(const QString& text) {
    QString safe;
    for (const QChar c : text) {
        if (Kept(c))
            safe += c;
        else if (!safe.endsWith(QLatin1Char('_')))
            safe += QLatin1Char('_');
    }
    qsizetype first = 0;
    qsizetype last = safe.size();
    const auto trimmed = [](QChar c) { return c == QLatin1Char('_') || c == QLatin1Char('.'); };
    while (first < last && trimmed(safe[first]))
        ++first;
    while (last > first && trimmed(safe[last - 1]))
        --last;
    return safe.mid(first, last - first);
}

QString SuggestedFileStem(const TZRTestRec& rec) {
    QStringList parts;
    if (const QString device = FileNameSafe(rec.GetDeviceInfo(diDeviceID)); !device.isEmpty())
        parts << device;
    if (const QDateTime when = TestMoment(rec); when.isValid())
        parts << when.toString(QStringLiteral("yyyy-MM-dd_HHmm"));
    return parts.join(QLatin1Char('_'));
}

QString ReportViewerCaption(const TZRTestRec& rec, const QLocale& locale) {
    const QString device = rec.GetDeviceInfo(diDeviceID).trimmed();
    if (device.isEmpty())
        return DesignedCaption;
    QString caption = DesignedCaption + QStringLiteral(" - ") + device;
    if (const QDateTime when = TestMoment(rec); when.isValid())
        caption += QStringLiteral(", %1 %2, %3")
                       .arg(locale.monthName(when.date().month(), QLocale::ShortFormat))
                       .arg(when.date().day())
                       .arg(when.date().year());
    return caption;
}
