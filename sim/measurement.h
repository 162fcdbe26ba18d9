#pragma once
// The analyzer's side of a discharge: the waveform it records at its own load and the measurement
// block it computes from that same waveform, and the 10306 bytes it sends for "VW".

#include "records/tzrtest.h"

#include <QByteArray>
#include <array>
#include <vector>

// Sample counts per ampere through the analyzer's load (one count is 0.01 A).
inline constexpr double SampleCountsPerAmp = 100.0;

using SampleArray = std::array<int16_t, SAMPLE_COUNT>;

// The samples the analyzer records: the current through its own load, rounded to counts and held
// within the 16-bit range.
SampleArray RecordSamples(const std::vector<double>& analyzerAmps);

// The measurement block (fields in host order) computed from the recorded samples at the analyzer's
// load of `analyzerLoad` (0.01 ohm): peaks, averages, widths at 10 % and 50 % of the peak, energies,
// tilt and the delay between the two phases. The first phase is the first lobe of the waveform, the
// second the following lobe of opposite sign (absent for a single pulse).
TMeasurementBlock MeasureDischarge(const SampleArray& samples, uint16_t analyzerLoad);

// The reply to "VW": the block and the samples with every 16-bit value big-endian.
QByteArray EncodeWaveformReply(const TMeasurementBlock& block, const SampleArray& samples);
