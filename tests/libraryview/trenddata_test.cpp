// What the Test Library window computes, without a window: the trend of a device's tests, the
// setting it is checked against, the search over devices and the list texts.
#include "libraryview/librarytexts.h"
#include "libraryview/trenddata.h"
#include "records/tzrtestrec.h"
#include "tests/support/qtprinters.h"
#include "tests/support/tempsettings.h"

#include <QDateTime>
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

} // namespace

// Tests come newest first from the library and may share a day (or a second); a load some test left
// out has no point there, a load no test tested has no line, and a test of no load adds nothing.
TEST(Trend, FollowsTheDatesOldestFirstAndLeavesOutWhatWasNotTested) {
    const std::vector<TLibraryTest> tests = {
        TestAt("2026-03-02T16:00:00", {{0, 190.0}}),
        TestAt("2026-03-02T09:00:00", {{0, 180.0}, {3, 201.0}}),
        TestAt("2025-03-02T09:00:00", {}),
        TestAt("2026-03-02T09:00:00", {{0, 181.0}}), // the same second: kept in the library's order
        TestAt("2024-03-02T09:00:00", {{3, 199.0}}),
    };
    const std::vector<TTrendLoad> trend = BuildTrend(tests, std::nullopt);
    ASSERT_EQ(trend.size(), 2u);
    EXPECT_EQ(trend[0].load, 0);
    EXPECT_EQ(trend[0].energies, (std::vector<double>{180.0, 181.0, 190.0}));
    const double morning = TrendKey(QStringLiteral("2026-03-02T09:00:00"));
    EXPECT_EQ(trend[0].keys, (std::vector<double>{morning, morning, morning + 7 * 3600}));
    EXPECT_EQ(trend[1].load, 3);
    EXPECT_EQ(trend[1].energies, (std::vector<double>{199.0, 201.0}));
    EXPECT_FALSE(trend[0].declared || trend[1].declared); // no check: no band

    EXPECT_TRUE(BuildTrend({}, std::nullopt).empty());
    EXPECT_TRUE(BuildTrend({TestAt("2026-03-02T09:00:00", {})}, std::nullopt).empty());
}

// The band is the rule's: the larger of the percentage and the joules, and none where the setting
// declares nothing for the load.
TEST(Trend, BandsFollowTheDeclaredEnergyAndItsTolerance) {
    TVerdictBasis basis{Profile("P", "", {200.0}), {}};
    basis.setting = basis.profile.settings[0];
    basis.setting.declared[1] = 10.0; // 15 % is 1.5 J, less than the 3 J allowed at least
    basis.setting.declared[2].reset();
    const std::vector<TTrendLoad> trend =
        BuildTrend({TestAt("2026-01-01T08:00:00", {{0, 199.0}, {1, 11.0}, {2, 150.0}})}, basis);
    ASSERT_EQ(trend.size(), 3u);
    EXPECT_EQ(trend[0].declared, 200.0);
    EXPECT_EQ(trend[0].limit, 30.0);
    EXPECT_EQ(trend[1].declared, 10.0);
    EXPECT_EQ(trend[1].limit, 3.0);
    EXPECT_FALSE(trend[2].declared);
    EXPECT_EQ(trend[2].energies, std::vector<double>{150.0}); // still drawn, without a band
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

// The search looks into six of the seven fields (not the technician's ID), ignoring case and the
// spaces around the text.
TEST(DeviceSearch, FindsTextInTheDeviceFieldsButNotTheTechnician) {
    std::array<QString, 7> info;
    info[diDeviceID] = QStringLiteral("DEF-0042");
    info[diLocation] = QStringLiteral("Ward 7 East");
    info[diTechID] = QStringLiteral("JSMITH");
    EXPECT_TRUE(DeviceMatches(info, QString()));
    EXPECT_TRUE(DeviceMatches(info, QStringLiteral("   ")));
    EXPECT_TRUE(DeviceMatches(info, QStringLiteral(" def-00 ")));
    EXPECT_TRUE(DeviceMatches(info, QStringLiteral("7 EAST")));
    EXPECT_FALSE(DeviceMatches(info, QStringLiteral("7  East")));
    EXPECT_FALSE(DeviceMatches(info, QStringLiteral("jsmith")));
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
