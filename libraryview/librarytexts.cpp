#include "libraryview/librarytexts.h"

#include "base/global.h"
#include "library/librarybackend.h"
#include "library/postgresaddress.h"
#include "records/tzrtestrec.h"
#include "verdict/profile.h"

#include <QDateTime>

QString VerdictWord(TOverallVerdict verdict) {
    return verdict == TOverallVerdict::NoCheck ? QString() : OverallVerdictText(verdict);
}

QString LibraryDateText(const QString& testedAt, const QLocale& locale) {
    return FormatDate(QDate::fromString(testedAt.left(10), Qt::ISODate), locale);
}

QString LibraryDateTimeText(const QString& testedAt, const QLocale& locale) {
    return FormatDateTime(QDateTime::fromString(testedAt, Qt::ISODate), locale);
}

QString ChoiceText(const std::optional<TVerdictChoice>& choice) {
    if (!choice || !choice->Checks())
        return QString();
    return QStringLiteral("%1, %2 J").arg(choice->profile, JoulesText(choice->selected));
}

QString AddedText(const TAddedBy& added) {
    if (added.on.isEmpty())
        return added.by;
    return added.by.isEmpty() ? added.on : QStringLiteral("%1 on %2").arg(added.by, added.on);
}

QString AddedDetails(const TAddedBy& added, const QLocale& locale) {
    if (!added.Known())
        return QString();
    QString text = QStringLiteral("Added by %1").arg(AddedText(added));
    if (!added.with.isEmpty())
        text += QStringLiteral(" with %1").arg(added.with);
    const QDateTime at = QDateTime::fromString(added.at, Qt::ISODate);
    if (at.isValid())
        text += QStringLiteral(", %1").arg(FormatDateTime(at.toLocalTime(), locale));
    return text;
}

QString IntervalText(int months, bool own) {
    const QString text = months == 1 ? QStringLiteral("1 month") : QStringLiteral("%1 months").arg(months);
    return own ? text : text + QStringLiteral(" (default)");
}

QString FleetStatusDetails(const TFleetDevice& device, const QLocale& locale) {
    const QString due = FormatDate(device.nextDue, locale);
    const QString tested = LibraryDateText(device.lastTestedAt, locale);
    switch (device.status) {
    case TFleetStatus::Overdue:
        return QStringLiteral("Overdue: its next test was due on %1").arg(due);
    case TFleetStatus::Failed:
        return QStringLiteral("Failed its newest test, on %1: not for patient use until it passes").arg(tested);
    case TFleetStatus::Due:
        return QStringLiteral("Due for its next test on %1").arg(due);
    case TFleetStatus::Incomplete:
        return QStringLiteral("Its newest test, on %1, did not judge all seven loads").arg(tested);
    case TFleetStatus::NotJudged:
        return QStringLiteral("Its newest test, on %1, was checked against no profile").arg(tested);
    case TFleetStatus::NearLimit:
        return QStringLiteral("Near its limit: a load used %1 % of its limit in the newest test, on %2")
            .arg(qRound(device.lastLimitShare.value_or(0.0) * 100.0))
            .arg(tested);
    case TFleetStatus::Fine:
        break;
    }
    return QStringLiteral("Passed its newest test, on %1; next test due on %2").arg(tested, due);
}

QString WaitingText(const QString& location) {
    QString place = DisplayLocation(location);
    QString why;
    if (IsPostgresLocation(location))
        if (const std::optional<PostgresAddress> address = ParsePostgresAddress(location, why))
            if (!address->host.isEmpty())
                place = address->host;
    return QStringLiteral("Waiting for the library at %1...").arg(place);
}
