// The fleet on SQLite and on PostgreSQL: due dates by calendar months as the database works them out,
// the order of urgency, the filters and counts, a device's own interval, and the devices of a library
// made before the fleet was kept.
#include "library/testlibrary.h"
#include "records/recordimage.h"
#include "tests/library/libraryplace.h"
#include "tests/support/recordbuilder.h"
#include "verdict/verdict.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

struct Tested {
    QString device;
    QDate date;
    QString facility = QStringLiteral("North");
    int loads = LOAD_COUNT;
};

QByteArray Record(const Tested& t) {
    auto rec = MakeFullRecord();
    SetStatus(*rec, "ZR-1234",
              DateStamp{7, 5, 14, static_cast<uint8_t>(t.date.day()), static_cast<uint8_t>(t.date.month()),
                        static_cast<uint8_t>(t.date.year() - 2000)});
    rec->SetDeviceInfo(diDeviceID, t.device);
    rec->SetDeviceInfo(diSerialNo, t.device + QStringLiteral("-SN"));
    rec->SetDeviceInfo(diFacility, t.facility);
    for (int load = t.loads; load < LOAD_COUNT; ++load)
        rec->Loads[load].HasData = 0;
    return EncodeTestRecord(*rec);
}

// Every load declared `offset` J below what it received, with a 10 J limit: 0 passes, 9 is near the
// limit, 20 fails.
TVerdictBasis Basis(double offset) {
    const auto rec = MakeFullRecord();
    TVerdictBasis basis;
    basis.profile.name = QStringLiteral("Maker X200");
    basis.profile.tolerance = TTolerance{0.0, 10.0};
    basis.setting.selected = 150.0;
    for (int load = 0; load < LOAD_COUNT; ++load)
        basis.setting.declared[load] = DeliveredEnergy(rec->Loads[load], load) - offset;
    return basis;
}

class FleetTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString why;
        library = TTestLibrary::Open(location, why);
        ASSERT_TRUE(library) << why.toStdString();
    }
    void Add(const Tested& t, const std::optional<TVerdictBasis>& basis = Basis(0.0)) {
        ASSERT_EQ(library->Add(Record(t), basis).outcome, TAddOutcome::Added) << library->LastError().toStdString();
    }
    std::vector<TFleetDevice> Fleet(TFleetQuery query = {}) {
        if (!query.today.isValid())
            query.today = today;
        return library->Fleet(query);
    }
    QStringList Ids(const std::vector<TFleetDevice>& devices) {
        QStringList ids;
        for (const TFleetDevice& d : devices)
            ids << d.deviceInfo[diDeviceID];
        return ids;
    }

    const QDate today{2026, 12, 9};
    std::unique_ptr<LibraryPlace> place = MakeLibraryPlace();
    QString location = place->NewLocation();
    std::unique_ptr<TTestLibrary> library;
};

} // namespace

TEST_F(FleetTest, DueDatesFollowCalendarMonthsAndEachDevicesOwnInterval) {
    // Month ends, a leap day and an ordinary date, each as the database works it out.
    const std::vector<QDate> dates{{2025, 1, 31}, {2024, 2, 29}, {2025, 8, 31}, {2025, 12, 15}};
    for (size_t i = 0; i < dates.size(); ++i)
        Add({QStringLiteral("D%1").arg(i), dates[i]});
    ASSERT_TRUE(library->SetInterval(QStringLiteral("D0"), 1));
    ASSERT_TRUE(library->SetInterval(QStringLiteral("D2"), 6));
    EXPECT_FALSE(library->SetInterval(QStringLiteral("nobody"), 6));
    EXPECT_TRUE(library->LastError().contains(QStringLiteral("nobody")));
    EXPECT_FALSE(library->SetInterval(QStringLiteral("D1"), 0));

    TFleetQuery query;
    query.defaultMonths = 12;
    query.order = TFleetOrder::NextDue;
    for (const TFleetDevice& d : Fleet(query)) {
        const int months = d.ownInterval.value_or(12);
        EXPECT_EQ(d.nextDue, NextDue(d.lastTestedAt, months)) << d.deviceInfo[diDeviceID].toStdString();
    }
    const std::vector<TFleetDevice> byDue = Fleet(query);
    ASSERT_EQ(byDue.size(), 4u);
    EXPECT_EQ(byDue[0].nextDue, QDate(2025, 2, 28)); // Jan 31 + 1 month
    EXPECT_EQ(byDue[1].nextDue, QDate(2025, 2, 28)); // Feb 29 + 12 months
    EXPECT_EQ(byDue[2].nextDue, QDate(2026, 2, 28)); // Aug 31 + 6 months
    EXPECT_EQ(byDue[3].nextDue, QDate(2026, 12, 15));

    // Due within 10 days includes the overdue; back to the program's interval.
    query.dueWithinDays = 10;
    EXPECT_EQ(Ids(Fleet(query)), (QStringList{"D0", "D1", "D2", "D3"}));
    query.dueWithinDays = 5;
    EXPECT_EQ(Ids(Fleet(query)), (QStringList{"D0", "D1", "D2"}));
    ASSERT_TRUE(library->SetInterval(QStringLiteral("D2"), std::nullopt));
    query.defaultMonths = 24;
    EXPECT_EQ(Ids(Fleet(query)), (QStringList{"D0", "D1"}));
}

TEST_F(FleetTest, SortsByUrgencyFiltersPagesAndCounts) {
    Add({QStringLiteral("fine"), {2026, 11, 1}});
    Add({QStringLiteral("near"), {2026, 11, 2}}, Basis(9.0));
    Add({QStringLiteral("unjudged"), {2026, 11, 3}, QStringLiteral("South")}, std::nullopt);
    Add({QStringLiteral("partial"), {2026, 11, 4}, QStringLiteral("South"), 3});
    Add({QStringLiteral("due"), {2025, 12, 20}});
    Add({QStringLiteral("failed"), {2026, 11, 5}}, Basis(20.0));
    Add({QStringLiteral("over"), {2025, 11, 1}});
    // A newer test decides: the device that failed a year ago passes now; one imported later but
    // tested earlier changes nothing.
    Add({QStringLiteral("repaired"), {2025, 12, 1}}, Basis(20.0));
    Add({QStringLiteral("repaired"), {2026, 11, 6}});
    Add({QStringLiteral("repaired"), {2026, 1, 6}}, Basis(20.0));

    const std::vector<TFleetDevice> all = Fleet();
    EXPECT_EQ(Ids(all), (QStringList{"over", "failed", "due", "partial", "unjudged", "near", "fine", "repaired"}));
    for (const TFleetDevice& d : all)
        EXPECT_EQ(d.status, FleetStatus(d.nextDue, today, d.lastVerdict, d.lastLimitShare))
            << d.deviceInfo[diDeviceID].toStdString();
    EXPECT_EQ(all.back().tests, 3);
    EXPECT_EQ(all.back().lastTestedAt, QStringLiteral("2026-11-06T14:05:07"));

    TFleetQuery query;
    query.status = TFleetStatus::Failed;
    EXPECT_EQ(Ids(Fleet(query)), QStringList{"failed"});
    query = {};
    query.facility = QStringLiteral("South");
    EXPECT_EQ(Ids(Fleet(query)), (QStringList{"partial", "unjudged"}));
    query = {};
    query.search = QStringLiteral("PAIR"); // any case, in the serial number too
    EXPECT_EQ(Ids(Fleet(query)), QStringList{"repaired"});
    query.search = QStringLiteral("%"); // the pattern's own characters are only text
    EXPECT_TRUE(Fleet(query).empty());
    query = {};
    query.offset = 3;
    query.limit = 3;
    EXPECT_EQ(Ids(Fleet(query)), (QStringList{"partial", "unjudged", "near"}));

    query = {};
    query.today = today;
    query.facility = QStringLiteral("North");
    const auto counts = library->FleetCounts(query);
    ASSERT_TRUE(counts);
    EXPECT_EQ(*counts, (std::array<int, FleetStatusCount>{1, 1, 1, 0, 0, 1, 2}));
    EXPECT_EQ(library->DeviceValues(diFacility), (QStringList{"North", "South"}));
}

TEST_F(FleetTest, ALibraryMadeBeforeTheFleetGetsItsDevices) {
    Add({QStringLiteral("A"), {2026, 1, 2}});
    Add({QStringLiteral("A"), {2026, 3, 4}}, Basis(20.0));
    Add({QStringLiteral("B"), {2026, 5, 6}}, std::nullopt);
    library.reset();
    place->Exec(location, {QStringLiteral("DROP TABLE devices"), QStringLiteral("ALTER TABLE tests DROP COLUMN limit_share"),
                           QStringLiteral("UPDATE library_info SET schema_version = 3")});
    SetUp();
    const std::vector<TFleetDevice> devices = Fleet();
    ASSERT_EQ(Ids(devices), (QStringList{"A", "B"}));
    EXPECT_EQ(devices[0].tests, 2);
    EXPECT_EQ(devices[0].lastVerdict, TOverallVerdict::Fail);
    EXPECT_EQ(devices[0].nextDue, QDate(2027, 3, 4));
    EXPECT_EQ(devices[1].status, TFleetStatus::NotJudged);
    // And it is kept from then on.
    Add({QStringLiteral("B"), {2026, 7, 8}});
    EXPECT_EQ(Fleet()[1].tests, 2);
}

TEST_F(FleetTest, OverdueAndDueAtTheProgramsIntervalAgreeWithTheDueDateAroundMonthEnds) {
    // Without an interval of its own a device is told overdue or due by its test's date against a
    // cut-off: on either side of month ends, a leap day, and a due date that is today or in 30 days.
    QStringList tested;
    for (QDate day(2026, 1, 26); day <= QDate(2026, 2, 3); day = day.addDays(1))
        tested << day.toString(Qt::ISODate);
    tested << QStringLiteral("2024-02-28") << QStringLiteral("2024-02-29") << QStringLiteral("2024-03-01");
    for (const QString& day : tested)
        Add({day, QDate::fromString(day, Qt::ISODate)});
    for (const auto& [months, day] : {std::pair{1, QDate(2026, 2, 28)}, std::pair{1, QDate(2026, 3, 1)},
                                      std::pair{1, QDate(2026, 1, 29)}, std::pair{12, QDate(2025, 2, 28)},
                                      std::pair{12, QDate(2025, 3, 1)}, std::pair{24, QDate(2026, 1, 30)}}) {
        TFleetQuery query;
        query.today = day;
        query.defaultMonths = months;
        const std::vector<TFleetDevice> devices = Fleet(query);
        ASSERT_EQ(devices.size(), static_cast<size_t>(tested.size()));
        for (const TFleetDevice& d : devices)
            EXPECT_EQ(d.status, FleetStatus(d.nextDue, day, d.lastVerdict, d.lastLimitShare))
                << d.deviceInfo[diDeviceID].toStdString() << " at " << months << " months on "
                << day.toString(Qt::ISODate).toStdString();
        query.dueWithinDays = 0;
        const auto due =
            std::count_if(devices.begin(), devices.end(), [&](const auto& d) { return d.nextDue <= day; });
        EXPECT_EQ(static_cast<long>(Fleet(query).size()), due)
            << months << " months on " << day.toString(Qt::ISODate).toStdString();
    }
}
