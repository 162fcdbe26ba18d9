#include "records/loadresults.h"

#include <cstdlib>

namespace {

// Multiplies the values of one quantity, and the energies, by the accessory's factor k.
void Correct(TLoadResults& r, float k, TQuantity quantity) {
    for (const TMeasurementField& field : MeasurementFields)
        if (field.quantity == quantity || field.quantity == qEnergy)
            r[field.result] *= k;
}

} // namespace

TLoadResults ComputeLoadResults(const TZRTest& test, int loadIndex) {
    // Every field in its unit; the analyzer's load stands for the actual load until it is corrected.
    TLoadResults r{};
    for (const TMeasurementField& field : MeasurementFields)
        r[field.result] = FieldValue(test.Results, field);
    const float Ra = r[lrActualLoad];
    const float Rz = static_cast<float>(test.AccessoryResistance) * 0.01f;

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
        Correct(r, k, qCurrent);
    } else if (loadIndex >= 2) {
        // 75..175 ohms: the accessory in series with the analyzer's load. An analyzer load of 0
        // cannot have been measured; the values are then shown uncorrected (factor 1) with the
        // accessory's resistance as the load.
        const float k = Ra != 0.0f ? Rz / Ra + 1.0f : 1.0f;
        r[lrActualLoad] = Ra + Rz;
        Correct(r, k, qVoltage);
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
