// The tolerance rule at its boundaries, and the verdict of a whole record.
#include "report/loadresultstable.h"
#include "tests/support/recordbuilder.h"
#include "verdict/verdict.h"
#include "verdict/verdicttext.h"

#include <gtest/gtest.h>

TEST(Verdict, LimitIsTheLargerOfJoulesAndPercent) {
    const TTolerance standard;                           // 15 % or 3 J
    const TTolerance strict{.percent = 10, .joules = 5}; // a maker's own, tighter rule
    const struct {
        double declared;
        double delivered;
        TTolerance tolerance;
        double limit;
        bool pass;
    } cases[] = {
        // The percent applies: 15 % of 200 J is 30 J, on either side.
        {200, 230, standard, 30, true},
        {200, 230.01, standard, 30, false},
        {200, 170, standard, 30, true},
        {200, 169.99, standard, 30, false},
        // Below 20 J declared the 3 J floor is the larger; at 20 J the two meet.
        {10, 13, standard, 3, true},
        {10, 13.01, standard, 3, false},
        {10, 7, standard, 3, true},
        {20, 23, standard, 3, true},
        {20, 16.99, standard, 3, false},
        {40, 35, strict, 5, true},
        {40, 45.01, strict, 5, false},
        {100, 110, strict, 10, true},
        // 37.95 J as the corrected energy holds it (a float, 37.950001) is at a limit of 4.95 J.
        {33, static_cast<float>(37.95), standard, 4.95, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.delivered << " J against " << c.declared << " J");
        const TLoadVerdict v = JudgeLoad(3, c.delivered, c.declared, c.tolerance);
        EXPECT_DOUBLE_EQ(v.limit, c.limit);
        EXPECT_EQ(v.check, c.pass ? TLoadCheck::Pass : TLoadCheck::Fail);
        EXPECT_DOUBLE_EQ(v.deviation, c.delivered - c.declared);
        EXPECT_DOUBLE_EQ(v.deviationPercent, 100 * (c.delivered - c.declared) / c.declared);
    }
    EXPECT_EQ(JudgeLoad(0, std::nullopt, 200.0, standard).check, TLoadCheck::NotTested);
    EXPECT_EQ(JudgeLoad(0, 180.0, std::nullopt, standard).check, TLoadCheck::NotDeclared);
}

TEST(Verdict, RecordVerdictJudgesWhatTheReportShows) {
    const auto rec = MakeFullRecord();
    rec->Loads[1].HasData = 0;
    const TLoadResultsTable table = ComputeLoadResultsTable(*rec);
    // Declared where they put loads 0, 2 and 3 just inside the limit, load 4 just outside; 5 and 6 not
    // declared, 1 declared but not tested.
    TProfileSetting setting;
    setting.selected = 200;
    const TTolerance tolerance;
    for (int load : {0, 2, 3})
        setting.declared[load] = table.Result(load, lrTotalEnergy) / 1.149;
    setting.declared[4] = table.Result(4, lrTotalEnergy) / 1.151;
    setting.declared[1] = 200;

    TRecordVerdict v = RecordVerdict(*rec, setting, tolerance);
    const TLoadCheck expected[LOAD_COUNT] = {
        TLoadCheck::Pass, TLoadCheck::NotTested,   TLoadCheck::Pass,       TLoadCheck::Pass,
        TLoadCheck::Fail, TLoadCheck::NotDeclared, TLoadCheck::NotDeclared};
    for (int load = 0; load < LOAD_COUNT; ++load) {
        SCOPED_TRACE(load);
        EXPECT_EQ(v.loads[load].load, load);
        EXPECT_EQ(v.loads[load].check, expected[load]);
        if (load != 1) { // the value of "DISCHARGE ENERGY (J)", unrounded
            EXPECT_EQ(v.loads[load].delivered, table.Result(load, lrTotalEnergy));
        }
        // The step window's verdict of one load is the same.
        EXPECT_EQ(LoadVerdict(rec->Loads[load], load, setting, tolerance).check, expected[load]);
    }
    EXPECT_EQ(v.overall, TOverallVerdict::Fail);
    EXPECT_EQ(v.tested, 6);
    EXPECT_EQ(v.judged, 4);
    EXPECT_EQ(v.failed, 1);

    // A load not tested, or not declared, leaves the test incomplete however well the others did.
    setting.declared[4].reset();
    EXPECT_EQ(RecordVerdict(*rec, setting, tolerance).overall, TOverallVerdict::Incomplete);
    setting.declared = {};
    v = RecordVerdict(*rec, setting, tolerance);
    EXPECT_EQ(v.overall, TOverallVerdict::Incomplete);
    EXPECT_EQ(v.tested, 6);
    EXPECT_EQ(v.judged, 0);
    EXPECT_EQ(RecordVerdict(TZRTestRec(), setting, tolerance).overall, TOverallVerdict::Incomplete);
}

TEST(Verdict, OnlySevenJudgedLoadsWithinTheLimitPass) {
    const auto rec = MakeFullRecord();
    const TLoadResultsTable table = ComputeLoadResultsTable(*rec);
    TProfileSetting setting;
    setting.selected = 150;
    for (int load = 0; load < LOAD_COUNT; ++load)
        setting.declared[load] = table.Result(load, lrTotalEnergy);
    const TTolerance tolerance;
    TRecordVerdict v = RecordVerdict(*rec, setting, tolerance);
    EXPECT_EQ(v.overall, TOverallVerdict::Pass);
    EXPECT_EQ(OverallVerdictSummary(v), QStringLiteral("PASS: 7 of 7 loads judged, all within the limit"));

    rec->Loads[3].HasData = rec->Loads[4].HasData = rec->Loads[5].HasData = rec->Loads[6].HasData = 0;
    v = RecordVerdict(*rec, setting, tolerance);
    EXPECT_EQ(v.overall, TOverallVerdict::Incomplete);
    EXPECT_EQ(OverallVerdictSummary(v),
              QStringLiteral("INCOMPLETE: 3 of 7 loads judged, all within the limit"));
    EXPECT_EQ(
        RecordVerdictLine(v, QStringLiteral("Acme 3"), 150),
        QStringLiteral(
            "Verdict: INCOMPLETE, profile \"Acme 3\" at 150 J: 3 of 7 loads judged, all within the limit"));
    EXPECT_TRUE(EnergySettingHint(v, 150).isEmpty());

    // One failure among three makes a failed test, however many were tested.
    setting.declared[1] = *setting.declared[1] * 1.2;
    v = RecordVerdict(*rec, setting, tolerance);
    EXPECT_EQ(v.overall, TOverallVerdict::Fail);
    EXPECT_EQ(OverallVerdictSummary(v),
              QStringLiteral("FAIL: 1 of 3 judged loads outside the limit (50 ohms)"));
    EXPECT_TRUE(EnergySettingHint(v, 150).isEmpty()); // outside, but not twice the limit
}

TEST(Verdict, FarOutsideTheLimitAsksAboutTheEnergySetting) {
    const TTolerance standard; // 15 %: 22.5 J at 150 J
    EXPECT_TRUE(EnergySettingHint(JudgeLoad(1, 195.0, 150.0, standard), 150).isEmpty()); // exactly twice
    const TLoadVerdict far = JudgeLoad(1, 201.0, 150.0, standard);
    EXPECT_EQ(EnergySettingHint(far, 150),
              QStringLiteral("delivered 201 J at 50 ohms, 150 J chosen: is the defibrillator set to 150 J?"));
    EXPECT_FALSE(EnergySettingHint(JudgeLoad(1, 99.0, 150.0, standard), 150).isEmpty()); // too little, too
    // Of a record, the load furthest outside is named.
    TRecordVerdict record;
    record.loads[0] = JudgeLoad(0, 60.0, 150.0, standard);
    record.loads[1] = far;
    EXPECT_TRUE(EnergySettingHint(record, 150).startsWith(QStringLiteral("delivered 60 J at 25 ohms")));
}
