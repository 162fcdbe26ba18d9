#include "library/fleet.h"

#include "base/clock.h"
#include "base/settings.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

QDate Today() {
    return QDateTime::fromSecsSinceEpoch(TheClock().Seconds()).date();
}

QDate NextDue(const QString& testedAt, int months) {
    return QDateTime::fromString(testedAt, Qt::ISODate).date().addMonths(months);
}

TFleetStatus FleetStatus(QDate nextDue, QDate today, TOverallVerdict verdict, std::optional<double> limitShare) {
    if (nextDue < today)
        return TFleetStatus::Overdue;
    if (verdict == TOverallVerdict::Fail)
        return TFleetStatus::Failed;
    if (nextDue <= today.addDays(DueSoonDays))
        return TFleetStatus::Due;
    if (verdict == TOverallVerdict::Incomplete)
        return TFleetStatus::Incomplete;
    if (verdict == TOverallVerdict::NoCheck)
        return TFleetStatus::NotJudged;
    if (limitShare && *limitShare > NearLimitShare)
        return TFleetStatus::NearLimit;
    return TFleetStatus::Fine;
}

namespace {

struct StatusName {
    TFleetStatus status;
    const char* value;
    const char* text;
};

constexpr std::array<StatusName, FleetStatusCount> StatusNames{{
    {TFleetStatus::Overdue, "overdue", "Overdue"},
    {TFleetStatus::Failed, "failed", "Failed"},
    {TFleetStatus::Due, "due", "Due within 30 days"},
    {TFleetStatus::Incomplete, "incomplete", "Incomplete"},
    {TFleetStatus::NotJudged, "not-judged", "Not judged"},
    {TFleetStatus::NearLimit, "near-limit", "Near its limit"},
    {TFleetStatus::Fine, "fine", "Fine"},
}};

} // namespace

const char* FleetStatusValue(TFleetStatus status) {
    return StatusNames[static_cast<size_t>(status)].value;
}

std::optional<TFleetStatus> FleetStatusFromValue(const QString& value) {
    for (const StatusName& name : StatusNames)
        if (value == QLatin1String(name.value))
            return name.status;
    return std::nullopt;
}

QString FleetStatusText(TFleetStatus status) {
    return QString::fromLatin1(StatusNames[static_cast<size_t>(status)].text);
}

std::optional<double> LimitShare(const TRecordVerdict& verdict) {
    std::optional<double> share;
    for (const TLoadVerdict& load : verdict.loads) {
        if (!load.Checked() || load.limit <= 0.0)
            continue;
        const double used = std::abs(load.deviation) / load.limit;
        share = std::max(share.value_or(0.0), used);
    }
    return share;
}

int ConfiguredIntervalMonths(const TSettings& settings) {
    const int months =
        settings.ReadInteger(QStringLiteral("Library"), QStringLiteral("INTERVAL_MONTHS"), DefaultIntervalMonths);
    return months >= 1 && months <= LongestIntervalMonths ? months : DefaultIntervalMonths;
}
