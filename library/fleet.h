#pragma once
// The fleet: every device of the library with its newest test, when its next test falls due, and a
// status that reads at a glance. A device's next test is due one interval after its newest test: its
// own interval when the library holds one, else the program's ([Library] INTERVAL_MONTHS, 12 months
// unless the settings say otherwise). Calendar months; a day past the end of the month falls on its
// last day (2026-01-31 plus one month is 2026-02-28).

#include "records/tzrtestrec.h"
#include "verdict/verdict.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

constexpr int DefaultIntervalMonths = 12;
constexpr int LongestIntervalMonths = 120;
// A test is near its limit when some load used more than this share of its limit.
constexpr double NearLimitShare = 0.8;
// "Due" in the fleet view: within this many days.
constexpr int DueSoonDays = 30;

// Today's date by the program's clock (base/clock.h), in local time.
QDate Today();

// The next test after one on `testedAt` (ISO 8601), `months` later.
QDate NextDue(const QString& testedAt, int months);

// The most urgent thing about a device, most urgent first (the fleet view sorts by it).
enum class TFleetStatus { Overdue, Failed, Due, Incomplete, NotJudged, NearLimit, Fine };
constexpr int FleetStatusCount = 7;

// The status of a device whose next test is due on `nextDue`, today being `today`, and whose newest
// test had `verdict` and used `limitShare` of its closest load's limit.
TFleetStatus FleetStatus(QDate nextDue, QDate today, TOverallVerdict verdict, std::optional<double> limitShare);
// "overdue", "failed", "due", "incomplete", "not-judged", "near-limit", "fine".
const char* FleetStatusValue(TFleetStatus status);
std::optional<TFleetStatus> FleetStatusFromValue(const QString& value);
// "Overdue", "Failed", "Due within 30 days", ...
QString FleetStatusText(TFleetStatus status);

// The largest share of its limit that any judged load of `verdict` used (0.5: half the limit); none
// when no load was judged.
std::optional<double> LimitShare(const TRecordVerdict& verdict);

// A device as the fleet view lists it.
struct TFleetDevice {
    std::array<QString, DEVICE_INFO_SLOTS> deviceInfo; // of its newest test, indexed by TDeviceInfoSlot
    qint64 lastTestId = 0;
    QString lastTestedAt; // ISO 8601 local time
    TOverallVerdict lastVerdict = TOverallVerdict::NoCheck;
    std::optional<double> lastLimitShare;
    int tests = 0;
    std::optional<int> ownInterval; // months, when the device has an interval of its own
    int intervalMonths = DefaultIntervalMonths;
    QDate nextDue;
    TFleetStatus status = TFleetStatus::Fine;
};

// What the fleet is sorted by; each order ends by Device ID. Urgency: by status, then by due date.
enum class TFleetOrder { Urgency, DeviceId, Serial, Make, Model, Facility, Location, LastTest, Verdict, NextDue, Tests };

// Which devices, in which order, and how many.
struct TFleetQuery {
    QDate today;
    int defaultMonths = DefaultIntervalMonths;
    QString search;                      // in Device ID, serial, make, model, facility, location; any case
    std::optional<TFleetStatus> status;  // only those
    std::optional<QString> facility;     // exactly this one
    std::optional<QString> location;     // exactly this one
    std::optional<QString> deviceId;     // only this device
    std::optional<int> dueWithinDays;    // only those due by today + days (overdue included)
    TFleetOrder order = TFleetOrder::Urgency;
    bool descending = false;
    int offset = 0;
    int limit = -1; // every one
};

class TSettings;

// [Library] INTERVAL_MONTHS: the interval of a device without one of its own (12 when the settings
// name none or one out of 1..120).
int ConfiguredIntervalMonths(const TSettings& settings);
