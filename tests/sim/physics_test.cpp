// The simulated discharges are physically consistent: what the record's load correction makes of the
// analyzer's block agrees with the energy in the downloaded samples, at every load and for every
// waveform family, and each family behaves as its circuit does.
#include "records/loadresults.h"
#include "records/tzrtestrec.h"
#include "sim/simulatedanalyzer.h"
#include "sim/virtualclock.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct Discharge {
    TZRTest test;
    TLoadResults results;
};

class PhysicsTest : public ::testing::TestWithParam<DefibWaveform> {
protected:
    PhysicsTest() {
        DefibSettings settings;
        settings.waveform = GetParam();
        settings.selectedJoules = 200;
        sim.SetDefibrillator(settings);
        EXPECT_EQ(sim.OpenEx("Corvex Defib Tester Final", FtOpenByDescription, handle), FtOK);
    }

    // Fires the defibrillator into `load` and builds the load's record as the sequencer would.
    void Fire(int load, Discharge& d) {
        sim.Accessory().SetJumpersForLoad(load);
        uint32_t written = 0;
        ASSERT_EQ(sim.Write(handle, "DEHT\r", 5, written), FtOK);
        ASSERT_TRUE(sim.Discharge());
        std::memcpy(&d.test.Results, &sim.LastBlock(), sizeof(TMeasurementBlock));
        std::memcpy(d.test.Samples, sim.LastSamples().data(), sizeof d.test.Samples);
        d.test.AccessoryResistance = sim.Accessory().resistances[load];
        d.test.HasData = 1;
        d.results = ComputeLoadResults(d.test, load);
    }

    // Energy delivered to the load, from the samples: sum of I^2 R dt.
    static double SampleEnergy(const Discharge& d) {
        const TSampleAmps amps = SampleToAmps(d.test, d.results);
        double joules = 0;
        for (float a : amps)
            joules += double(a) * a * d.results[lrActualLoad] * (SampleInterval * 1e-3);
        return joules;
    }

    VirtualClock clock;
    SimulatedAnalyzer sim{&clock};
    FtHandle handle = FtHandle::Null;
};

TEST_P(PhysicsTest, SampleEnergyAgreesWithTheCorrectedTotalAtEveryLoad) {
    for (int load = 0; load < LOAD_COUNT; ++load) {
        Discharge d;
        Fire(load, d);
        const double total = d.results[lrTotalEnergy];
        ASSERT_GT(total, 20.0) << load;
        EXPECT_NEAR(SampleEnergy(d), total, 0.03 * total) << "load " << LoadOhms(load);
        EXPECT_NEAR(d.results[lrActualLoad], LoadOhms(load), 0.02 * LoadOhms(load)) << load;
        // The corrected first-phase peak is the current the defibrillator drove: Ohm's law holds.
        EXPECT_NEAR(d.results[lrPeakVoltage1], d.results[lrPeakCurrent1] * d.results[lrActualLoad],
                    0.02 * d.results[lrPeakVoltage1] + 1)
            << load;
        EXPECT_LE(d.results[lrEnergy1], d.results[lrTotalEnergy]) << load;
    }
}

TEST_P(PhysicsTest, SelectedEnergyIsDeliveredIntoFiftyOhms) {
    Discharge d;
    Fire(1, d);
    EXPECT_NEAR(d.results[lrTotalEnergy], 200.0, 6.0);
    EXPECT_EQ(uint16_t{d.test.Results.AnalyzerLoad}, 5000); // a copy: the field is packed
}

INSTANTIATE_TEST_SUITE_P(AllWaveforms, PhysicsTest,
                         ::testing::Values(DefibWaveform::BiphasicTruncatedExponential,
                                           DefibWaveform::RectilinearBiphasic,
                                           DefibWaveform::MonophasicDampedSine));

class WaveformShapeTest : public PhysicsTest {};

TEST_P(WaveformShapeTest, EachFamilyBehavesAsItsCircuit) {
    Discharge low, mid, high;
    Fire(0, low);
    Fire(3, mid);
    Fire(6, high);
    switch (GetParam()) {
    case DefibWaveform::BiphasicTruncatedExponential:
        // The same tilt while the phases lengthen with the resistance, up to the longest first phase
        // the device allows (20 ms), where the tilt starts to fall.
        EXPECT_NEAR(low.results[lrTilt], 60.0, 1.0);
        EXPECT_NEAR(mid.results[lrTilt], 60.0, 1.0);
        EXPECT_LT(high.results[lrTilt], 59.0);
        EXPECT_NEAR(high.results[lrWidth10_1], 20.0, 0.05);
        EXPECT_LT(low.results[lrWidth10_1], mid.results[lrWidth10_1]);
        EXPECT_LT(mid.results[lrWidth10_1], high.results[lrWidth10_1]);
        EXPECT_NEAR(mid.results[lrInterphaseDelay], 0.5, 0.03);
        EXPECT_GT(mid.results[lrPeakCurrent2], 0);
        break;
    case DefibWaveform::RectilinearBiphasic:
        for (const Discharge* d : {&low, &mid, &high}) {
            EXPECT_NEAR(d->results[lrWidth50_1], 6.0, 0.05);
            EXPECT_NEAR(d->results[lrTilt], 12.0, 1.0);
        }
        EXPECT_GT(mid.results[lrPeakCurrent2], 0);
        break;
    case DefibWaveform::MonophasicDampedSine:
        // A reversed lobe into 25 ohms only; none into 100 or 175 ohms.
        EXPECT_GT(low.results[lrPeakCurrent2], 0);
        EXPECT_EQ(mid.results[lrPeakCurrent2], 0);
        EXPECT_EQ(high.results[lrPeakCurrent2], 0);
        EXPECT_LT(high.results[lrPeakCurrent1], mid.results[lrPeakCurrent1]);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(AllWaveforms, WaveformShapeTest,
                         ::testing::Values(DefibWaveform::BiphasicTruncatedExponential,
                                           DefibWaveform::RectilinearBiphasic,
                                           DefibWaveform::MonophasicDampedSine));

} // namespace
