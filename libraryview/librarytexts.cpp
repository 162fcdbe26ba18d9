#include "libraryview/librarytexts.h"

#include "base/global.h"
#include "library/librarybackend.h"
#include "library/postgresaddress.h"
#include "records/tzrtestrec.h"
#include "verdict/profile.h"

#include <QDateTime>

bool DeviceMatches(const std::array<QString, 7>& deviceInfo, const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return true;
    for (TDeviceInfoSlot slot : {diDeviceID, diSerialNo, diManufacturer, diModel, diFacility, diLocation})
        if (deviceInfo[slot].contains(wanted, Qt::CaseInsensitive))
            return true;
    return false;
}

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

QString WaitingText(const QString& location) {
    QString place = DisplayLocation(location);
    QString why;
    if (IsPostgresLocation(location))
        if (const std::optional<PostgresAddress> address = ParsePostgresAddress(location, why))
            if (!address->host.isEmpty())
                place = address->host;
    return QStringLiteral("Waiting for the library at %1...").arg(place);
}
