#include "records/loadresults.h"

#include <cstdlib>

TLoadResults ComputeLoadResults(const TZRTest& test, int loadIndex) {
    const TMeasurementBlock& b = test.Results;
    const float Ra = static_cast<float>(b.AnalyzerLoad) * 0.01f;
    const float Rz = static_cast<float>(test.AccessoryResistance) * 0.01f;

    TLoadResults r{};
    r[lrPeakVoltage1] = static_cast<float>(b.PeakVoltage1) * 1.0f;
    r[lrPeakCurrent1] = static_cast<float>(b.PeakCurrent1) * 0.01f;
    r[lrWidth10_1] = static_cast<float>(b.Width10_1) * 0.01f;
    r[lrWidth50_1] = static_cast<float>(b.Width50_1) * 0.01f;
    r[lrEnergy1] = static_cast<float>(b.Energy1) * 0.1f;
    r[lrPeakVoltage2] = static_cast<float>(b.PeakVoltage2) * 1.0f;
    r[lrPeakCurrent2] = static_cast<float>(b.PeakCurrent2) * 0.01f;
    r[lrAvgVoltage1] = static_cast<float>(b.AvgVoltage1) * 1.0f;
    r[lrAvgVoltage2] = static_cast<float>(b.AvgVoltage2) * 1.0f;
    r[lrAvgCurrent1] = static_cast<float>(b.AvgCurrent1) * 0.01f;
    r[lrAvgCurrent2] = static_cast<float>(b.AvgCurrent2) * 0.01f;
    r[lrTilt] = static_cast<float>(b.Tilt) * 0.1f;
    r[lrWidth10_2] = static_cast<float>(b.Width10_2) * 0.01f;
    r[lrInterphaseDelay] = static_cast<float>(b.InterphaseDelay) * 0.01f;
    r[lrModulationFreq] = static_cast<float>(b.ModulationFreq) * 1.0f;
    r[lrDutyCycle] = static_cast<float>(b.DutyCycle) * 0.1f;
    r[lrTotalEnergy] = static_cast<float>(b.TotalEnergy) * 0.1f;

    if (loadIndex == 0) {
        // 25 ohms: the accessory lies in parallel with the analyzer's load, so part of the current
        // bypasses the analyzer. An accessory resistance of 0 means none was reported (a real
        // parallel 0 ohm would short the defibrillator); the values are then shown uncorrected
        // against the analyzer's load alone rather than as an infinite factor.
        float k = 1.0f;
        float actual = Ra;
        if (Rz != 0.0f) {
            k = Ra / Rz + 1.0f;
            actual = (Rz * Ra) / (Rz + Ra); // Rz > 0 and Ra >= 0: the sum is never 0
        }
        r[lrActualLoad] = actual;
        for (int i : {lrPeakCurrent1, lrPeakCurrent2, lrAvgCurrent1, lrAvgCurrent2, lrEnergy1, lrTotalEnergy})
            r[i] *= k;
    } else if (loadIndex >= 2) {
        // 75..175 ohms: the accessory in series with the analyzer's load. An analyzer load of 0
        // cannot have been measured; the values are then shown uncorrected (factor 1) with the
        // accessory's resistance as the load.
        const float k = Ra != 0.0f ? Rz / Ra + 1.0f : 1.0f;
        r[lrActualLoad] = Ra + Rz;
        for (int i : {lrPeakVoltage1, lrPeakVoltage2, lrAvgVoltage1, lrAvgVoltage2, lrEnergy1, lrTotalEnergy})
            r[i] *= k;
    } else {
        // 50 ohms: the analyzer's own load alone, nothing to correct.
        r[lrActualLoad] = Ra;
    }
    return r;
}

TSampleAmps SampleToAmps(const TZRTest& test, const TLoadResults& results) {
    float M = 0.0f;
    // Indexed, not a range-for: the samples of a load inside a record lie at odd addresses, and a
    // reference to an element of a packed array would assume an alignment they do not have.
    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        const float magnitude = static_cast<float>(std::abs(static_cast<int32_t>(test.Samples[j])));
        if (magnitude > M)
            M = magnitude;
    }
    // A silent waveform (every sample 0) has no excursion to scale to the peak current; it is shown
    // as 0 A throughout instead of dividing by zero.
    const float factor = M > 0.0f ? results[lrPeakCurrent1] / M : 0.0f;
    TSampleAmps amps;
    for (int j = 0; j < SAMPLE_COUNT; ++j)
        amps[j] = static_cast<float>(test.Samples[j]) * factor;
    return amps;
}
