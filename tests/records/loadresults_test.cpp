// The load correction and the conversion of samples to amperes.
#include "records/loadresults.h"
#include "tests/support/recordbuilder.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TZRTest> LoadWith(uint16_t analyzerLoad, uint16_t accessory) {
    auto t = std::make_unique<TZRTest>();
    TMeasurementBlock& b = t->Results;
    b.PeakVoltage1 = 1000;
    b.PeakCurrent1 = 4000; // 40 A
    b.Width10_1 = 500;
    b.Width50_1 = 300;
    b.Energy1 = 1200; // 120 J
    b.PeakVoltage2 = 600;
    b.PeakCurrent2 = 2000;
    b.AvgVoltage1 = 800;
    b.AvgVoltage2 = 400;
    b.AvgCurrent1 = 1600;
    b.AvgCurrent2 = 800;
    b.Tilt = 555;
    b.Width10_2 = 350;
    b.InterphaseDelay = 40;
    b.ModulationFreq = 12;
    b.DutyCycle = 333;
    b.TotalEnergy = 2000; // 200 J
    b.AnalyzerLoad = analyzerLoad;
    t->AccessoryResistance = accessory;
    return t;
}

void ExpectUncorrectedAt(const TLoadResults& r, float k, bool currents, bool voltages) {
    const float kc = currents ? k : 1.0f;
    const float kv = voltages ? k : 1.0f;
    EXPECT_FLOAT_EQ(r[lrPeakVoltage1], 1000.0f * kv);
    EXPECT_FLOAT_EQ(r[lrPeakVoltage2], 600.0f * kv);
    EXPECT_FLOAT_EQ(r[lrAvgVoltage1], 800.0f * kv);
    EXPECT_FLOAT_EQ(r[lrAvgVoltage2], 400.0f * kv);
    EXPECT_FLOAT_EQ(r[lrPeakCurrent1], 40.0f * kc);
    EXPECT_FLOAT_EQ(r[lrPeakCurrent2], 20.0f * kc);
    EXPECT_FLOAT_EQ(r[lrAvgCurrent1], 16.0f * kc);
    EXPECT_FLOAT_EQ(r[lrAvgCurrent2], 8.0f * kc);
    EXPECT_FLOAT_EQ(r[lrEnergy1], 120.0f * k);
    EXPECT_FLOAT_EQ(r[lrTotalEnergy], 200.0f * k);
    // Never corrected.
    EXPECT_FLOAT_EQ(r[lrWidth10_1], 5.0f);
    EXPECT_FLOAT_EQ(r[lrWidth50_1], 3.0f);
    EXPECT_FLOAT_EQ(r[lrWidth10_2], 3.5f);
    EXPECT_FLOAT_EQ(r[lrInterphaseDelay], 0.4f);
    EXPECT_FLOAT_EQ(r[lrTilt], 55.5f);
    EXPECT_FLOAT_EQ(r[lrModulationFreq], 12.0f);
    EXPECT_FLOAT_EQ(r[lrDutyCycle], 33.3f);
}

bool AllFinite(const TLoadResults& r) {
    for (float v : r)
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

TEST(LoadCorrection, ParallelAccessoryAt25OhmsDoublesCurrentsAndEnergies) {
    auto t = LoadWith(5000, 5000);
    const TLoadResults r = ComputeLoadResults(*t, 0);
    EXPECT_FLOAT_EQ(r[lrActualLoad], 25.0f);
    ExpectUncorrectedAt(r, 2.0f, true, false);
}

TEST(LoadCorrection, SeriesAccessoryDoublesVoltagesAndEnergies) {
    auto t = LoadWith(5000, 5000);
    const TLoadResults r = ComputeLoadResults(*t, 3);
    EXPECT_FLOAT_EQ(r[lrActualLoad], 100.0f);
    ExpectUncorrectedAt(r, 2.0f, false, true);
}

TEST(LoadCorrection, SeriesCorrectionAt175Ohms) {
    auto t = LoadWith(5000, 12500);
    const TLoadResults r = ComputeLoadResults(*t, 6);
    EXPECT_FLOAT_EQ(r[lrActualLoad], 175.0f);
    ExpectUncorrectedAt(r, 3.5f, false, true);
}

TEST(LoadCorrection, FiftyOhmsIsTheAnalyzerAlone) {
    auto t = LoadWith(4987, 3000); // the accessory's resistance plays no part
    const TLoadResults r = ComputeLoadResults(*t, 1);
    EXPECT_FLOAT_EQ(r[lrActualLoad], 49.87f);
    ExpectUncorrectedAt(r, 1.0f, true, true);
}

TEST(LoadCorrection, SecondPhaseEnergyIsCorrectedBySameFactor) {
    auto t = LoadWith(5000, 5000);
    const TLoadResults r = ComputeLoadResults(*t, 0);
    EXPECT_FLOAT_EQ(r[lrTotalEnergy] - r[lrEnergy1], 2.0f * 80.0f);
}

TEST(LoadCorrection, ZeroDivisorsGiveFiniteUncorrectedValues) {
    auto noAccessory = LoadWith(5000, 0);
    const TLoadResults r0 = ComputeLoadResults(*noAccessory, 0);
    EXPECT_TRUE(AllFinite(r0));
    EXPECT_FLOAT_EQ(r0[lrActualLoad], 50.0f);
    ExpectUncorrectedAt(r0, 1.0f, true, false);

    auto noAnalyzerLoad = LoadWith(0, 5000);
    for (int index = 2; index < LOAD_COUNT; ++index) {
        const TLoadResults r = ComputeLoadResults(*noAnalyzerLoad, index);
        EXPECT_TRUE(AllFinite(r));
        EXPECT_FLOAT_EQ(r[lrActualLoad], 50.0f);
        ExpectUncorrectedAt(r, 1.0f, false, true);
    }

    auto nothing = LoadWith(0, 0);
    for (int index = 0; index < LOAD_COUNT; ++index)
        EXPECT_TRUE(AllFinite(ComputeLoadResults(*nothing, index)));
}

TEST(LoadCorrection, ExtremeCountsStayFinite) {
    auto t = LoadWith(65535, 1);
    std::memset(&t->Results, 0xFF, sizeof t->Results);
    t->AccessoryResistance = 1;
    for (int index = 0; index < LOAD_COUNT; ++index)
        EXPECT_TRUE(AllFinite(ComputeLoadResults(*t, index)));
}

TEST(SampleConversion, LargestExcursionEqualsCorrectedPeakCurrent) {
    auto t = LoadWith(5000, 5000);
    t->Samples[10] = 1000;
    t->Samples[11] = -500;
    t->Samples[12] = 250;
    const TLoadResults r = ComputeLoadResults(*t, 0); // peak 80 A after correction
    const TSampleAmps amps = SampleToAmps(*t, r);
    EXPECT_FLOAT_EQ(amps[10], 80.0f);
    EXPECT_FLOAT_EQ(amps[11], -40.0f);
    EXPECT_FLOAT_EQ(amps[12], 20.0f);
    EXPECT_FLOAT_EQ(amps[0], 0.0f);
}

TEST(SampleConversion, MostNegativeSampleCountsAs32768) {
    auto t = LoadWith(5000, 5000);
    t->Samples[0] = 32767;
    t->Samples[1] = -32768;
    const TLoadResults r = ComputeLoadResults(*t, 1); // 40 A
    const TSampleAmps amps = SampleToAmps(*t, r);
    EXPECT_FLOAT_EQ(amps[1], -40.0f);
    EXPECT_FLOAT_EQ(amps[0], 32767.0f * (40.0f / 32768.0f));
}

TEST(SampleConversion, WorksOnLoadsInsideARecord) {
    // Every odd load of a record starts at an odd address (the sanitizer build checks the reads).
    const auto rec = MakeFullRecord();
    for (int index = 0; index < LOAD_COUNT; ++index) {
        const TLoadResults r = ComputeLoadResults(rec->Loads[index], index);
        EXPECT_FLOAT_EQ(SampleToAmps(rec->Loads[index], r)[20], r[lrPeakCurrent1]) << index;
    }
}

TEST(SampleConversion, SilentWaveformIsZeroAmps) {
    auto t = LoadWith(5000, 5000);
    const TSampleAmps amps = SampleToAmps(*t, ComputeLoadResults(*t, 2));
    for (float a : amps)
        ASSERT_EQ(a, 0.0f);
}

TEST(SampleConversion, SampleTimesAreSinglePrecisionProducts) {
    EXPECT_EQ(SampleTime(0), 0.0f);
    EXPECT_EQ(SampleTime(5119), 5119.0f * 0.0114f);
    EXPECT_NEAR(SampleTime(5119), 58.3566, 1e-4);
}
