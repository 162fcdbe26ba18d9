// zrqtool library due and interval: which devices fall due for their next test, and a device's own
// test interval.
#include "base/settings.h"
#include "cli/command.h"
#include "library/testfields.h"
#include "library/testlibrary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const char* const Prefix = "zrqtool: library: ";

// The due list's word for a device: "overdue", "due" (within the days asked), "ok".
QString DueStatus(const TFleetDevice& device, QDate today, int withinDays) {
    if (device.nextDue < today)
        return QStringLiteral("overdue");
    return device.nextDue <= today.addDays(withinDays) ? QStringLiteral("due") : QStringLiteral("ok");
}

} // namespace

int RunDueAction(TTestLibrary& library, const QStringList& args, QTextStream& out, QTextStream& err) {
    int within = DueSoonDays;
    bool all = false;
    bool json = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool number = false;
        const int days = args.value(i + 1).toInt(&number);
        if (args[i] == QLatin1String("--json")) {
            json = true;
        } else if (args[i] == QLatin1String("--all")) {
            all = true;
        } else if (args[i] == QLatin1String("--within") && number && days >= 0) {
            within = days;
            ++i;
        } else {
            err << Prefix << "due expects [--within DAYS] [--all] [--json], not \"" << args[i] << "\"\n";
            return ExitUsage;
        }
    }
    TFleetQuery query;
    query.today = Today();
    query.defaultMonths = ConfiguredIntervalMonths(ProgramSettings());
    query.order = TFleetOrder::NextDue;
    if (!all)
        query.dueWithinDays = within;
    const std::vector<TFleetDevice> devices = library.Fleet(query);
    if (devices.empty() && !library.LastError().isEmpty()) {
        err << Prefix << library.LastError() << '\n';
        return ExitFailure;
    }
    if (json) {
        QJsonArray array;
        for (const TFleetDevice& d : devices) {
            TTestFields fields = DeviceFields(d.deviceInfo);
            fields.insert(fields.end(), {
                {QStringLiteral("last_tested"), d.lastTestedAt},
                {QStringLiteral("next_due"), d.nextDue.toString(Qt::ISODate)},
                {QStringLiteral("interval_months"), d.intervalMonths},
                {QStringLiteral("last_verdict"), VerdictJson(d.lastVerdict)},
                {QStringLiteral("status"), DueStatus(d, query.today, within)},
            });
            array.append(FieldsObject(fields));
        }
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
        return ExitSuccess;
    }
    // The newest test's verdict beside the date: a device that failed is "ok" by the calendar alone.
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("STATUS"), -8)
               .arg(QStringLiteral("NEXT DUE"), -10)
               .arg(QStringLiteral("VERDICT"), -10)
               .arg(QStringLiteral("DEVICE ID"), -16)
               .arg(QStringLiteral("SERIAL"), -16)
               .arg(QStringLiteral("LAST TESTED"), -19)
               .arg(QStringLiteral("FACILITY / LOCATION"));
    for (const TFleetDevice& d : devices)
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(DueStatus(d, query.today, within).toUpper(), -8)
                   .arg(d.nextDue.toString(Qt::ISODate), -10)
                   .arg(VerdictColumn(d.lastVerdict), -10)
                   .arg(d.deviceInfo[diDeviceID], -16)
                   .arg(d.deviceInfo[diSerialNo], -16)
                   .arg(d.lastTestedAt, -19)
                   .arg(QStringList{d.deviceInfo[diFacility], d.deviceInfo[diLocation]}
                            .filter(QRegularExpression(QStringLiteral("\\S")))
                            .join(QStringLiteral(" / ")));
    return ExitSuccess;
}

int RunIntervalAction(TTestLibrary& library, const QStringList& args, QTextStream& out, QTextStream& err) {
    bool number = false;
    const int months = args.value(1).toInt(&number);
    const bool reset = args.value(1) == QLatin1String("default");
    if (args.size() != 2 || (!number && !reset)) {
        err << Prefix << "interval expects DEVICE_ID MONTHS (1 to " << LongestIntervalMonths
            << ", or \"default\")\n";
        return ExitUsage;
    }
    if (!library.SetInterval(args[0], reset ? std::nullopt : std::optional<int>(months))) {
        err << Prefix << library.LastError() << '\n';
        return ExitFailure;
    }
    const int every = reset ? ConfiguredIntervalMonths(ProgramSettings()) : months;
    out << args[0] << ": tested every " << every << (every == 1 ? " month" : " months")
        << (reset ? ", as the settings say\n" : "\n");
    return ExitSuccess;
}
