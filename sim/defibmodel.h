#pragma once
// The defibrillator under test, as the simulated analyzer sees it: the current it drives through the
// test load, sampled every 11.4 us into 5120 values. Three families of waveform are modelled from
// their circuits, so that the energy, peaks, widths and tilt change with the load as a real device's do.

#include <vector>

enum class DefibWaveform {
    // A capacitor discharged through the load, cut off at a set tilt and reversed for a second phase;
    // the phases lengthen as the load's resistance (and so the time constant) grows.
    BiphasicTruncatedExponential,
    // A first phase of nearly constant current regulated by the device, then a decaying second phase.
    RectilinearBiphasic,
    // A capacitor discharged through an inductor: one (critically or over-damped) pulse, with a small
    // reversed lobe into low resistances.
    MonophasicDampedSine,
};

struct DefibSettings {
    DefibWaveform waveform = DefibWaveform::BiphasicTruncatedExponential;
    // The energy the device is set to deliver into 50 ohms.
    double selectedJoules = 200.0;

    // Biphasic truncated exponential.
    double bteCapacitanceMicrofarads = 150.0;
    double bteTiltPercent = 60.0;
    double bteInternalOhms = 2.0;
    double bteInterphaseMs = 0.5;
    // The second phase lasts this share of the first.
    double bteSecondPhaseRatio = 2.0 / 3.0;

    // Rectilinear biphasic.
    double rbPhase1Ms = 6.0;
    double rbPhase2Ms = 4.0;
    double rbInterphaseMs = 0.15;
    double rbInternalOhms = 2.0;
    // Highest voltage the device can apply; above the resistance where it is reached the current
    // (and the energy) falls.
    double rbMaxVolts = 2000.0;

    // Monophasic damped sine.
    double dsCapacitanceMicrofarads = 32.0;
    double dsInductanceMillihenries = 26.0;
    double dsInternalOhms = 6.5;
};

// Interval between samples, seconds.
inline constexpr double SamplePeriodSeconds = 11.4e-6;
// Samples recorded before the discharge begins.
inline constexpr int PreTriggerSamples = 64;

// The current in amperes through a load of `loadOhms`, one value per sample (5120), starting
// PreTriggerSamples before the discharge.
std::vector<double> DischargeCurrent(const DefibSettings& settings, double loadOhms);
