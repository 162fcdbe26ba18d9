#include "sim/defibmodel.h"

#include "records/tzrtest.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double CalibrationOhms = 50.0;

double SampleTimeSeconds(int j) {
    return (j - PreTriggerSamples) * SamplePeriodSeconds;
}

// Biphasic truncated exponential: phase durations follow from the tilt and the time constant, so they
// grow with the load. The device charges its capacitor to the voltage that gives the selected energy
// into 50 ohms; into other loads nearly the same share of the stored energy reaches the load.
struct BtePhases {
    double tau;     // seconds
    double phase1;  // seconds
    double gap;     // seconds
    double phase2;  // seconds
    double current; // amperes per volt of charge at the start of phase 1
};

BtePhases BteShape(const DefibSettings& s, double loadOhms) {
    const double c = s.bteCapacitanceMicrofarads * 1e-6;
    const double r = loadOhms + s.bteInternalOhms;
    const double tau = r * c;
    const double tilt = std::clamp(s.bteTiltPercent / 100.0, 0.05, 0.95);
    const double phase1 = std::clamp(-tau * std::log(1.0 - tilt), 1e-3, 20e-3);
    return {tau, phase1, s.bteInterphaseMs * 1e-3, phase1 * s.bteSecondPhaseRatio, 1.0 / r};
}

// Energy into the load per volt squared of charge.
double BteEnergyPerVolt2(const DefibSettings& s, double loadOhms) {
    const BtePhases p = BteShape(s, loadOhms);
    const double i0 = p.current;
    const double i1 = i0 * std::exp(-p.phase1 / p.tau);
    const double e1 = i0 * i0 * loadOhms * p.tau / 2.0 * (1.0 - std::exp(-2.0 * p.phase1 / p.tau));
    const double e2 = i1 * i1 * loadOhms * p.tau / 2.0 * (1.0 - std::exp(-2.0 * p.phase2 / p.tau));
    return e1 + e2;
}

std::vector<double> Bte(const DefibSettings& s, double loadOhms) {
    const double volts = std::sqrt(s.selectedJoules / BteEnergyPerVolt2(s, CalibrationOhms));
    const BtePhases p = BteShape(s, loadOhms);
    const double i0 = volts * p.current;
    const double i1 = i0 * std::exp(-p.phase1 / p.tau);
    std::vector<double> amps(SAMPLE_COUNT, 0.0);
    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        const double t = SampleTimeSeconds(j);
        if (t >= 0 && t < p.phase1)
            amps[j] = i0 * std::exp(-t / p.tau);
        else if (t >= p.phase1 + p.gap && t < p.phase1 + p.gap + p.phase2)
            amps[j] = -i1 * std::exp(-(t - p.phase1 - p.gap) / p.tau);
    }
    return amps;
}

// Rectilinear biphasic: unit-current shape of both phases; the device scales it to the selected
// energy for every load until its highest voltage limits the current.
double RectilinearShape(const DefibSettings& s, double t) {
    const double d1 = s.rbPhase1Ms * 1e-3;
    const double gap = s.rbInterphaseMs * 1e-3;
    const double d2 = s.rbPhase2Ms * 1e-3;
    if (t >= 0 && t < d1)
        return 1.0 - 0.12 * t / d1; // nearly flat, drooping as the capacitor empties
    if (t >= d1 + gap && t < d1 + gap + d2)
        return -0.55 * std::exp(-(t - d1 - gap) / (d2 / 2.0));
    return 0.0;
}

std::vector<double> Rectilinear(const DefibSettings& s, double loadOhms) {
    std::vector<double> shape(SAMPLE_COUNT);
    double squareIntegral = 0.0;
    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        shape[j] = RectilinearShape(s, SampleTimeSeconds(j));
        squareIntegral += shape[j] * shape[j] * SamplePeriodSeconds;
    }
    double current = std::sqrt(s.selectedJoules / (loadOhms * squareIntegral));
    current = std::min(current, s.rbMaxVolts / (loadOhms + s.rbInternalOhms));
    for (double& a : shape)
        a *= current;
    return shape;
}

// Monophasic damped sine: the series circuit of capacitor, inductor, internal and load resistance,
// integrated in small steps so that under-, critically and over-damped loads come out alike.
std::vector<double> DampedSine(const DefibSettings& s, double loadOhms) {
    const double c = s.dsCapacitanceMicrofarads * 1e-6;
    const double l = s.dsInductanceMillihenries * 1e-3;
    const double r = loadOhms + s.dsInternalOhms;
    // All of the stored energy ends up in the two resistances; the load's share is R / (R + Ri).
    const double stored = s.selectedJoules * (CalibrationOhms + s.dsInternalOhms) / CalibrationOhms;
    double v = std::sqrt(2.0 * stored / c);
    double i = 0.0;
    constexpr int Steps = 16;
    const double h = SamplePeriodSeconds / Steps;
    auto di = [&](double vc, double ic) { return (vc - r * ic) / l; };
    auto dv = [&](double ic) { return -ic / c; };
    std::vector<double> amps(SAMPLE_COUNT, 0.0);
    for (int j = PreTriggerSamples; j < SAMPLE_COUNT; ++j) {
        amps[j] = i;
        for (int k = 0; k < Steps; ++k) {
            const double k1i = di(v, i), k1v = dv(i);
            const double k2i = di(v + h / 2 * k1v, i + h / 2 * k1i), k2v = dv(i + h / 2 * k1i);
            const double k3i = di(v + h / 2 * k2v, i + h / 2 * k2i), k3v = dv(i + h / 2 * k2i);
            const double k4i = di(v + h * k3v, i + h * k3i), k4v = dv(i + h * k3i);
            i += h / 6 * (k1i + 2 * k2i + 2 * k3i + k4i);
            v += h / 6 * (k1v + 2 * k2v + 2 * k3v + k4v);
        }
    }
    return amps;
}

} // namespace

std::vector<double> DischargeCurrent(const DefibSettings& settings, double loadOhms) {
    const double ohms = std::max(loadOhms, 1.0);
    switch (settings.waveform) {
    case DefibWaveform::BiphasicTruncatedExponential:
        return Bte(settings, ohms);
    case DefibWaveform::RectilinearBiphasic:
        return Rectilinear(settings, ohms);
    case DefibWaveform::MonophasicDampedSine:
        return DampedSine(settings, ohms);
    }
    return std::vector<double>(SAMPLE_COUNT, 0.0);
}
