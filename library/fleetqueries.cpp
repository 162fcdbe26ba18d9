// The fleet's queries: the devices table, with each device's next due date and status worked out by
// the database, so that a library of many thousands of devices is sorted, filtered and counted
// without reading every device.
#include "library/testlibrary.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

const char* const FleetColumns = "device_id, serial_no, make, model, facility, location, tech_id, last_test_id, "
                                 "last_tested_at, last_verdict, last_limit_share, tests, interval_months";

QString DateLiteral(QDate date) {
    return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'');
}

// The first day whose test falls due on `day` or later, at `months` months (calendar months being
// added as the library adds them, a day past the end of the month falling on its last day).
QDate FirstTestDayDueBy(QDate day, int months) {
    QDate first = day.addMonths(-months).addDays(-7);
    while (first.addMonths(months) < day)
        first = first.addDays(1);
    return first;
}

// True for a device whose next test falls due before `day`. A device without an interval of its own
// is told by its newest test's date alone, without working out its due date: counting the statuses of
// a fleet of many thousand devices, and finding those due, several times faster.
QString DueBefore(QDate day, int defaultMonths) {
    return QStringLiteral("(interval_months IS NULL AND last_tested_at < %1 OR "
                          "interval_months IS NOT NULL AND next_due < %2)")
        .arg(DateLiteral(FirstTestDayDueBy(day, defaultMonths)), DateLiteral(day));
}

// The device's status, numbered as TFleetStatus, from its next due date and its newest test.
QString StatusExpression(QDate today, int defaultMonths) {
    return QStringLiteral("CASE WHEN %1 THEN %3 WHEN last_verdict = 'fail' THEN %4 "
                          "WHEN %2 THEN %5 WHEN last_verdict = 'incomplete' THEN %6 "
                          "WHEN last_verdict IS NULL THEN %7 WHEN last_limit_share > %8 THEN %9 ELSE %10 END")
        .arg(DueBefore(today, defaultMonths), DueBefore(today.addDays(DueSoonDays + 1), defaultMonths))
        .arg(static_cast<int>(TFleetStatus::Overdue))
        .arg(static_cast<int>(TFleetStatus::Failed))
        .arg(static_cast<int>(TFleetStatus::Due))
        .arg(static_cast<int>(TFleetStatus::Incomplete))
        .arg(static_cast<int>(TFleetStatus::NotJudged))
        .arg(NearLimitShare)
        .arg(static_cast<int>(TFleetStatus::NearLimit))
        .arg(static_cast<int>(TFleetStatus::Fine));
}

// A search text as a LIKE pattern matching it anywhere, '!' escaping the pattern's own characters.
QString ContainsPattern(const QString& text) {
    QString escaped;
    for (const QChar c : text.toLower()) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!'))
            escaped += QLatin1Char('!');
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

const char* const SearchedColumns[] = {"device_id", "serial_no", "make", "model", "facility", "location"};

} // namespace

QString TTestLibrary::FleetSelect(const TFleetQuery& query, QVariantList& values) const {
    QStringList where;
    if (const QString search = query.search.trimmed(); !search.isEmpty()) {
        const QString pattern = ContainsPattern(search);
        QStringList any;
        for (const char* column : SearchedColumns) {
            any << QStringLiteral("%1 LIKE ? ESCAPE '!'").arg(m_backend->LowerCase(QLatin1String(column)));
            values << pattern;
        }
        where << QLatin1Char('(') + any.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    if (query.facility) {
        where << QStringLiteral("facility = ?");
        values << *query.facility;
    }
    if (query.deviceId) {
        where << QStringLiteral("device_id = ?");
        values << *query.deviceId;
    }
    if (query.location) {
        where << QStringLiteral("location = ?");
        values << *query.location;
    }
    const QString months = QStringLiteral("COALESCE(interval_months, %1)").arg(query.defaultMonths);
    const QString devices =
        QStringLiteral("SELECT %1, %2 AS next_due FROM devices%3")
            .arg(QLatin1String(FleetColumns), m_backend->NextDueExpression(QStringLiteral("last_tested_at"), months),
                 where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")));
    return QStringLiteral("SELECT f.*, %1 AS status FROM (%2) f")
        .arg(StatusExpression(query.today, query.defaultMonths), devices);
}

std::vector<TFleetDevice> TTestLibrary::Fleet(const TFleetQuery& query) {
    QVariantList values;
    QStringList where;
    const QString select = FleetSelect(query, values);
    if (query.status)
        where << QStringLiteral("status = %1").arg(static_cast<int>(*query.status));
    if (query.dueWithinDays)
        where << DueBefore(query.today.addDays(*query.dueWithinDays + 1), query.defaultMonths);
    QString sql = QStringLiteral("SELECT * FROM (%1) g").arg(select);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    static const char* const orders[] = {"status, next_due", "device_id", "serial_no",      "make",
                                         "model",            "facility",  "location",       "last_tested_at",
                                         "last_verdict",     "next_due",  "tests"};
    const QString direction = query.descending ? QStringLiteral(" DESC") : QString();
    QString order = QLatin1String(orders[static_cast<int>(query.order)]);
    order.replace(QStringLiteral(","), direction + QLatin1Char(','));
    sql += QStringLiteral(" ORDER BY %1%2, device_id%2").arg(order, direction);
    if (query.limit >= 0)
        sql += QStringLiteral(" LIMIT %1 OFFSET %2").arg(query.limit).arg(query.offset);

    EnsureConnected();
    QSqlQuery q(Db());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec()) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return {};
    }
    std::vector<TFleetDevice> devices;
    while (q.next()) {
        TFleetDevice device;
        for (int slot = 0; slot < DEVICE_INFO_SLOTS; ++slot)
            device.deviceInfo[slot] = q.value(slot).toString();
        device.lastTestId = q.value(7).toLongLong();
        device.lastTestedAt = q.value(8).toString();
        device.lastVerdict = VerdictFromValue(q.value(9));
        if (!q.value(10).isNull())
            device.lastLimitShare = q.value(10).toDouble();
        device.tests = q.value(11).toInt();
        if (!q.value(12).isNull())
            device.ownInterval = q.value(12).toInt();
        device.intervalMonths = device.ownInterval.value_or(query.defaultMonths);
        device.nextDue = QDate::fromString(q.value(13).toString(), Qt::ISODate);
        device.status = static_cast<TFleetStatus>(q.value(14).toInt());
        devices.push_back(std::move(device));
    }
    return devices;
}

std::optional<std::array<int, FleetStatusCount>> TTestLibrary::FleetCounts(const TFleetQuery& query) {
    QVariantList values;
    const QString select = FleetSelect(query, values);
    EnsureConnected();
    QSqlQuery q(Db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT status, COUNT(*) FROM (%1) g GROUP BY status").arg(select));
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec()) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return std::nullopt;
    }
    std::array<int, FleetStatusCount> counts{};
    while (q.next()) {
        const int status = q.value(0).toInt();
        if (status >= 0 && status < FleetStatusCount)
            counts[status] = q.value(1).toInt();
    }
    return counts;
}

QStringList TTestLibrary::DeviceValues(TDeviceInfoSlot slot) {
    static const char* const columns[] = {"device_id", "serial_no", "make",   "model",
                                          "facility",  "location",  "tech_id"};
    EnsureConnected();
    QSqlQuery q(Db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT DISTINCT %1 FROM devices ORDER BY %1").arg(QLatin1String(columns[slot])))) {
        Fail(QStringLiteral("The library cannot be read"), SqlErrorText(q.lastError()));
        return {};
    }
    QStringList found;
    while (q.next())
        found << q.value(0).toString();
    return found;
}

bool TTestLibrary::SetInterval(const QString& deviceId, std::optional<int> months) {
    if (months && (*months < 1 || *months > LongestIntervalMonths))
        return Fail(QStringLiteral("The interval cannot be set"),
                    QStringLiteral("%1 months is not between 1 and %2").arg(*months).arg(LongestIntervalMonths));
    EnsureConnected();
    QSqlQuery q(Db());
    q.prepare(QStringLiteral("UPDATE devices SET interval_months = ? WHERE device_id = ?"));
    q.addBindValue(months ? QVariant(*months) : QVariant(QMetaType(QMetaType::Int)));
    q.addBindValue(deviceId);
    if (!q.exec())
        return Fail(QStringLiteral("The interval cannot be set"), SqlErrorText(q.lastError()));
    if (q.numRowsAffected() == 0)
        return Fail(QStringLiteral("The interval cannot be set"),
                    QStringLiteral("the library holds no device \"%1\"").arg(deviceId));
    return true;
}
