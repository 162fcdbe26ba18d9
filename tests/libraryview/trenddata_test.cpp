// What the Test Library window computes, without a window: the trend of a device's tests, the
// setting it is checked against, the search over devices and the list texts.
#include "libraryview/librarytexts.h"
#include "libraryview/trenddata.h"
#include "records/tzrtestrec.h"
#include "tests/support/qtprinters.h"
#include "tests/support/tempsettings.h"

#include <QDateTime>
#include <cmath>
#include <gtest/gtest.h>

namespace {

TLibraryTest TestAt(const char* testedAt, std::initializer_list<std::pair<int, double>> delivered) {
    TLibraryTest test;
    test.testedAt = QString::fromLatin1(testedAt);
    for (const auto& [load, joules] : delivered)
        test.delivered[static_cast<size_t>(load)] = joules;
    return test;
}

TProfile Profile(const char* name, const char* make, std::initializer_list<double> settings) {
    TProfile profile;
    profile.name = QString::fromLatin1(name);
    profile.make = QString::fromLatin1(make);
    for (double selected : settings) {
        TProfileSetting setting;
        setting.selected = selected;
        setting.declared.fill(selected);
        profile.settings.push_back(setting);
    }
    return profile;
}

// A line's energies with its breaks as -1, so that they compare.
std::vector<double> Line(const TTrendLoad& series) {
    std::vector<double> energies;
    for (double energy : series.lineEnergies)
        energies.push_back(std::isnan(energy) ? -1.0 : energy);
    return energies;
}

std::vector<double> Energies(const TTrendLoad& series) {
    std::vector<double> energies;
    for (const TTrendPoint& point : series.points)
        energies.push_back(point.energy);
    return energies;
}

} // namespace

// Tests come newest first from the library and may share a day (or a second); a load some test left
// out has a point only where tested and its line breaks at the test without it, in one load's trend
// as in all loads'; a load no test tested has no line, and a test of no load adds nothing.
TEST(Trend, FollowsTheDatesOldestFirstAndBreaksALineWhereATestLacksTheLoad) {
    const std::vector<TLibraryTest> tests = {
        TestAt("2026-03-02T16:00:00", {{0, 190.0}, {3, 203.0}}),
        TestAt("2026-03-02T09:00:00", {{0, 180.0}, {3, 201.0}}),
        TestAt("2025-03-02T09:00:00", {}),
        TestAt("2026-03-02T09:00:00", {{0, 181.0}}), // the same second: kept in the library's order
        TestAt("2024-03-02T09:00:00", {{3, 199.0}}),
    };
    const TTrend trend = BuildTrend(tests, std::nullopt, {});
    ASSERT_EQ(trend.loads.size(), 2u);
    ASSERT_EQ(trend.tests.size(), 4u);
    const double morning = TrendKey(QStringLiteral("2026-03-02T09:00:00"));
    EXPECT_EQ(trend.tests[1].key, morning);
    EXPECT_EQ(trend.tests[3].key, morning + 7 * 3600);
    EXPECT_EQ(trend.loads[0].load, 0);
    EXPECT_EQ(Energies(trend.loads[0]), (std::vector<double>{180.0, 181.0, 190.0}));
    EXPECT_EQ(Line(trend.loads[0]), (std::vector<double>{180.0, 181.0, 190.0})); // no break before it starts
    EXPECT_EQ(trend.loads[1].load, 3);
    EXPECT_EQ(Line(trend.loads[1]), (std::vector<double>{199.0, 201.0, -1.0, 203.0}));
    EXPECT_EQ(trend.loads[1].lineKeys[2], morning);
    EXPECT_FALSE(trend.loads[0].declared || trend.loads[1].declared); // no check: no band

    const TTrend one = BuildTrend(tests, std::nullopt, {}, 3);
    ASSERT_EQ(one.loads.size(), 1u);
    EXPECT_EQ(one.tests.size(), 3u); // the test without the load has no point
    EXPECT_EQ(Line(one.loads[0]), Line(trend.loads[1]));
    EXPECT_TRUE(BuildTrend(tests, std::nullopt, {}, 5).Empty());
    EXPECT_TRUE(BuildTrend({}, std::nullopt, {}).Empty());
    EXPECT_TRUE(BuildTrend({TestAt("2026-03-02T09:00:00", {})}, std::nullopt, {}).Empty());
}

// The band is the rule's: the larger of the percentage and the joules, and none where the setting
// declares nothing for the load.
TEST(Trend, BandsFollowTheDeclaredEnergyAndItsTolerance) {
    TVerdictBasis basis{Profile("P", "", {200.0}), {}};
    basis.setting = basis.profile.settings[0];
    basis.setting.declared[1] = 10.0; // 15 % is 1.5 J, less than the 3 J allowed at least
    basis.setting.declared[2].reset();
    const TTrend trend =
        BuildTrend({TestAt("2026-01-01T08:00:00", {{0, 199.0}, {1, 11.0}, {2, 150.0}})}, basis, {});
    ASSERT_EQ(trend.loads.size(), 3u);
    EXPECT_EQ(trend.loads[0].declared, 200.0);
    EXPECT_EQ(trend.loads[0].limit, 30.0);
    EXPECT_EQ(trend.loads[1].declared, 10.0);
    EXPECT_EQ(trend.loads[1].limit, 3.0);
    EXPECT_FALSE(trend.loads[2].declared);
    EXPECT_EQ(Energies(trend.loads[2]), std::vector<double>{150.0}); // still drawn, without a band
}

// Each point is judged against its own test's choice, whatever the chart is checked against; a test
// checked at another energy than the chart's keeps its point, marked, off the line (which goes on
// past it), and its tip says so.
TEST(Trend, MarksEachPointWithItsOwnVerdictAndATestAtAnotherEnergy) {
    std::vector<TProfile> profiles = {Profile("Generic", "", {150.0, 200.0})};
    profiles[0].settings[1].declared[1].reset();
    const auto chosen = [](TLibraryTest test, const char* profile, double joules) {
        test.choice = TVerdictChoice{QString::fromLatin1(profile), joules};
        test.analyzerId = QStringLiteral("ZR-1");
        return test;
    };
    const std::vector<TLibraryTest> tests = {
        chosen(TestAt("2021-05-01T09:00:00", {{0, 201.0}, {1, 199.0}}), "Generic",
               200),                                                         // pass, none declared
        chosen(TestAt("2022-05-01T09:00:00", {{0, 140.0}}), "Generic", 150), // at 150 J: a pass
        chosen(TestAt("2023-05-01T09:00:00", {{0, 240.0}}), "Generic", 200), // a failure
        TestAt("2024-05-01T09:00:00", {{0, 200.0}}),                         // not checked
        chosen(TestAt("2025-05-01T09:00:00", {{0, 200.0}}), "Gone", 200),    // no such profile now
    };
    const TTrend trend =
        BuildTrend(tests, ResolveVerdictChoice(profiles, {QStringLiteral("Generic"), 200}), profiles);
    ASSERT_EQ(trend.loads.size(), 2u);
    std::vector<std::pair<TTrendMark, bool>> marks;
    for (const TTrendPoint& point : trend.loads[0].points)
        marks.emplace_back(point.mark, point.otherEnergy);
    EXPECT_EQ(marks, (std::vector<std::pair<TTrendMark, bool>>{{TTrendMark::Pass, false},
                                                               {TTrendMark::Pass, true},
                                                               {TTrendMark::Fail, false},
                                                               {TTrendMark::NotChecked, false},
                                                               {TTrendMark::NotChecked, false}}));
    EXPECT_EQ(trend.loads[1].points[0].mark, TTrendMark::NoDeclaredValue);
    EXPECT_EQ(Line(trend.loads[0]), (std::vector<double>{201.0, 240.0, 200.0, 200.0}));
    EXPECT_TRUE(trend.HasOtherEnergy() && trend.Has(TTrendMark::Fail));
    EXPECT_FALSE(BuildTrend(tests, std::nullopt, profiles).HasOtherEnergy()); // no energy to differ from

    const QLocale c = QLocale::c();
    EXPECT_EQ(TrendPointText(trend, trend.loads[0], trend.loads[0].points[1], c),
              QStringLiteral("May 01, 2022\n25 ohms: 140.0 J, PASS\n"
                             "Checked against Generic, 150 J: another energy than the chart's 200 J\n"
                             "Analyzer ZR-1"));
    EXPECT_EQ(TrendPointText(trend, trend.loads[1], trend.loads[1].points[0], c),
              QStringLiteral("May 01, 2021\n50 ohms: 199.0 J, no declared value\n"
                             "Checked against Generic, 200 J\nAnalyzer ZR-1"));
    EXPECT_EQ(TrendPointText(trend, trend.loads[0], trend.loads[0].points[3], c),
              QStringLiteral("May 01, 2024\n25 ohms: 200.0 J, not judged\nNot checked"));
}

// A change of analyzer is the first test with the new one; a test without an analyzer ID tells none.
// Two tests of one day have their times told; the date axis shows the hours when the chart spans a day.
TEST(Trend, FindsAnalyzerChangesAndTestsThatShareADay) {
    std::vector<TLibraryTest> tests = {
        TestAt("2022-01-10T09:00:00", {{0, 200.0}}), TestAt("2023-01-10T09:00:00", {{0, 200.0}}),
        TestAt("2023-06-10T09:00:00", {{0, 200.0}}), TestAt("2024-01-10T09:00:00", {{0, 200.0}}),
        TestAt("2024-01-10T15:30:00", {{0, 200.0}}), TestAt("2025-01-10T09:00:00", {{0, 200.0}}),
    };
    const char* analyzers[] = {"ZR-1", "ZR-1", "", "ZR-2", "ZR-2", "ZR-1"};
    for (size_t i = 0; i < tests.size(); ++i)
        tests[i].analyzerId = QString::fromLatin1(analyzers[i]);
    const TTrend trend = BuildTrend(tests, std::nullopt, {});
    ASSERT_EQ(trend.analyzerChanges.size(), 2u);
    EXPECT_EQ(trend.analyzerChanges[0].key, TrendKey(QStringLiteral("2024-01-10T09:00:00")));
    EXPECT_EQ(trend.analyzerChanges[0].analyzerId, QStringLiteral("ZR-2"));
    EXPECT_EQ(trend.analyzerChanges[1].key, TrendKey(QStringLiteral("2025-01-10T09:00:00")));
    EXPECT_EQ(trend.analyzerChanges[1].analyzerId, QStringLiteral("ZR-1"));

    std::vector<bool> shared;
    for (const TTrendTest& test : trend.tests)
        shared.push_back(test.sharesDay);
    EXPECT_EQ(shared, (std::vector<bool>{false, false, false, true, true, false}));
    const QLocale c = QLocale::c();
    EXPECT_TRUE(TrendPointText(trend, trend.loads[0], trend.loads[0].points[4], c)
                    .startsWith(QStringLiteral("Jan 10, 2024 03:30:00 PM\n")));
    EXPECT_TRUE(TrendPointText(trend, trend.loads[0], trend.loads[0].points[5], c)
                    .startsWith(QStringLiteral("Jan 10, 2025\n")));

    EXPECT_EQ(TrendAxisFormat(7 * 3600.0), QStringLiteral("MMM d\nh:mm AP"));
    EXPECT_EQ(TrendAxisFormat(300 * 24 * 3600.0), QStringLiteral("MMM d\nyyyy"));
    EXPECT_EQ(TrendAxisFormat(5 * 365 * 24 * 3600.0), QStringLiteral("MMM yyyy"));
}

TEST(Trend, KeysCountSecondsOfLocalTime) {
    const double key = TrendKey(QStringLiteral("2026-12-08T14:07:05"));
    EXPECT_EQ(key, QDateTime(QDate(2026, 12, 8), QTime(14, 7, 5)).toSecsSinceEpoch());
    EXPECT_EQ(TrendKey(QStringLiteral("2026-12-09T00:00:00")) -
                  TrendKey(QStringLiteral("2026-12-08T23:59:59")),
              1.0);
}

// The newest test's stored choice while the profiles still hold it; else the device's own profile;
// else no check.
TEST(Trend, ChoiceIsTheNewestTestsWhileItStillResolves) {
    TempSettings settings;
    const TVerdictSettings remembered(settings.Ini());
    const std::vector<TProfile> profiles = {Profile("Acme 9", "Acme", {150.0, 200.0}),
                                            Profile("Generic", "", {200.0})};
    TLibraryTest newest = TestAt("2026-01-01T08:00:00", {{0, 200.0}});
    newest.deviceInfo[diManufacturer] = QStringLiteral("ACME");
    newest.choice = TVerdictChoice{QStringLiteral("Generic"), 200.0};
    EXPECT_EQ(TrendChoice(remembered, profiles, newest), *newest.choice);

    newest.choice = TVerdictChoice{QStringLiteral("Generic"), 360.0}; // a setting it no longer lists
    EXPECT_EQ(TrendChoice(remembered, profiles, newest), (TVerdictChoice{QStringLiteral("Acme 9"), 150.0}));
    newest.choice.reset();
    EXPECT_EQ(TrendChoice(remembered, profiles, newest), (TVerdictChoice{QStringLiteral("Acme 9"), 150.0}));

    newest.deviceInfo[diManufacturer] = QStringLiteral("Other");
    EXPECT_FALSE(TrendChoice(remembered, profiles, newest).Checks());
}

TEST(LibraryTexts, NoCheckLeavesTheColumnsEmpty) {
    EXPECT_EQ(VerdictWord(TOverallVerdict::NoCheck), QString());
    EXPECT_EQ(VerdictWord(TOverallVerdict::Fail), QStringLiteral("FAIL"));
    EXPECT_EQ(ChoiceText(std::nullopt), QString());
    EXPECT_EQ(ChoiceText(TVerdictChoice{}), QString());
    EXPECT_EQ(ChoiceText(TVerdictChoice{QStringLiteral("Generic"), 1.5}), QStringLiteral("Generic, 1.5 J"));
    EXPECT_EQ(LibraryDateTimeText(QStringLiteral("2026-12-08T14:07:05"), QLocale::c()),
              QStringLiteral("Dec 08, 2026 02:07:05 PM"));
    EXPECT_EQ(LibraryDateText(QStringLiteral("2026-12-08T14:07:05"), QLocale::c()),
              QStringLiteral("Dec 08, 2026"));
}
