#include "sim/measurement.h"

#include "records/measurementfields.h"
#include "sim/defibmodel.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

uint16_t Counts(double value) {
    return static_cast<uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
}

// One lobe of the waveform: samples [begin, end) whose sign is `sign` and whose magnitude stays
// above the noise threshold.
struct Lobe {
    int begin = 0;
    int end = 0;
    int sign = 0;
    bool Present() const { return end > begin; }
};

Lobe FindLobe(const SampleArray& s, int from, int sign, int threshold) {
    Lobe lobe;
    int j = from;
    while (j < SAMPLE_COUNT && sign * s[j] <= threshold)
        ++j;
    if (j == SAMPLE_COUNT)
        return lobe;
    lobe.begin = j;
    while (j < SAMPLE_COUNT && sign * s[j] > threshold)
        ++j;
    lobe.end = j;
    lobe.sign = sign;
    return lobe;
}

struct LobeFigures {
    double peakAmps = 0;
    double averageAmps = 0;
    double width10 = 0; // seconds
    double width50 = 0;
    double energy = 0; // joules
    double trailingAmps = 0;
};

double Amps(int16_t count) {
    return count / SampleCountsPerAmp;
}

LobeFigures Figures(const SampleArray& s, const Lobe& lobe, double ohms) {
    LobeFigures f;
    if (!lobe.Present())
        return f;
    double sum = 0;
    for (int j = lobe.begin; j < lobe.end; ++j) {
        const double a = lobe.sign * Amps(s[j]);
        f.peakAmps = std::max(f.peakAmps, a);
        sum += a;
        f.energy += a * a * ohms * SamplePeriodSeconds;
    }
    f.averageAmps = sum / (lobe.end - lobe.begin);
    int above10 = 0;
    int above50 = 0;
    for (int j = lobe.begin; j < lobe.end; ++j) {
        const double a = lobe.sign * Amps(s[j]);
        above10 += a >= 0.1 * f.peakAmps;
        above50 += a >= 0.5 * f.peakAmps;
    }
    f.width10 = above10 * SamplePeriodSeconds;
    f.width50 = above50 * SamplePeriodSeconds;
    f.trailingAmps = lobe.sign * Amps(s[lobe.end - 1]);
    return f;
}

} // namespace

SampleArray RecordSamples(const std::vector<double>& analyzerAmps) {
    SampleArray samples{};
    for (int j = 0; j < SAMPLE_COUNT && j < static_cast<int>(analyzerAmps.size()); ++j) {
        const long counts = std::lround(analyzerAmps[j] * SampleCountsPerAmp);
        samples[j] = static_cast<int16_t>(std::clamp<long>(counts, std::numeric_limits<int16_t>::min(),
                                                           std::numeric_limits<int16_t>::max()));
    }
    return samples;
}

TMeasurementBlock MeasureDischarge(const SampleArray& s, uint16_t analyzerLoad) {
    TMeasurementBlock b;
    std::memset(&b, 0, sizeof b);
    b.AnalyzerLoad = analyzerLoad;
    const double ohms = analyzerLoad / 100.0;

    int peakIndex = 0;
    for (int j = 0; j < SAMPLE_COUNT; ++j)
        if (std::abs(s[j]) > std::abs(s[peakIndex]))
            peakIndex = j;
    const int peak = std::abs(s[peakIndex]);
    if (peak == 0)
        return b;
    // Edges are taken at 1 % of the peak, so that a flat baseline never counts as a phase.
    const int threshold = std::max(2, peak / 100);
    int onset = 0;
    while (std::abs(s[onset]) < peak / 10)
        ++onset;
    const int sign = s[onset] > 0 ? 1 : -1;
    const Lobe first = FindLobe(s, 0, sign, threshold);
    const Lobe second = FindLobe(s, first.end, -sign, threshold);
    const LobeFigures f1 = Figures(s, first, ohms);
    const LobeFigures f2 = Figures(s, second, ohms);

    double total = 0;
    for (int16_t sample : s)
        total += Amps(sample) * Amps(sample) * ohms * SamplePeriodSeconds;

    // A value in the field's unit, or in a larger one that holds unitsPerValue of it (a second: 1000 ms).
    auto store = [&b](TLoadResultIndex result, double value, double unitsPerValue = 1) {
        const TMeasurementField& field = ResultField(result);
        SetFieldCounts(b, field, Counts(value * (unitsPerValue * field.Format().countsPerUnit)));
    };
    constexpr double MsPerSecond = 1000;
    constexpr double PercentPerRatio = 100;
    store(lrPeakVoltage1, f1.peakAmps * ohms);
    store(lrPeakCurrent1, f1.peakAmps);
    store(lrWidth10_1, f1.width10, MsPerSecond);
    store(lrWidth50_1, f1.width50, MsPerSecond);
    store(lrEnergy1, f1.energy);
    store(lrPeakVoltage2, f2.peakAmps * ohms);
    store(lrPeakCurrent2, f2.peakAmps);
    store(lrAvgVoltage1, f1.averageAmps * ohms);
    store(lrAvgVoltage2, f2.averageAmps * ohms);
    store(lrAvgCurrent1, f1.averageAmps);
    store(lrAvgCurrent2, f2.averageAmps);
    store(lrTilt, f1.peakAmps > 0 ? (f1.peakAmps - f1.trailingAmps) / f1.peakAmps : 0, PercentPerRatio);
    store(lrWidth10_2, f2.width10, MsPerSecond);
    store(lrInterphaseDelay, second.Present() ? (second.begin - first.end) * SamplePeriodSeconds : 0,
          MsPerSecond);
    // The modulation frequency and the duty cycle stay 0: none of the modelled waveforms is chopped.
    store(lrTotalEnergy, total);
    return b;
}

QByteArray EncodeWaveformReply(const TMeasurementBlock& block, const SampleArray& samples) {
    QByteArray reply(MEASUREMENT_BLOCK_SIZE + 2 * SAMPLE_COUNT, '\0');
    auto* out = reinterpret_cast<uint8_t*>(reply.data());
    std::memcpy(out, &block, MEASUREMENT_BLOCK_SIZE);
    for (const TMeasurementField& field : MeasurementFields)
        qToBigEndian<uint16_t>(FieldCounts(block, field), out + field.offset);
    for (int j = 0; j < SAMPLE_COUNT; ++j)
        qToBigEndian<int16_t>(samples[j], out + MEASUREMENT_BLOCK_SIZE + 2 * j);
    return reply;
}
