#pragma once
// The values shown to the user for one load: the analyzer's raw counts converted to units and
// corrected for the resistance the load accessory adds.

#include "records/measurementfields.h"
#include "records/tzrtest.h"

#include <array>

using TLoadResults = std::array<float, LOAD_RESULT_COUNT>;
using TSampleAmps = std::array<float, SAMPLE_COUNT>;

// Milliseconds between two samples (11.4 us). The time of sample j is the single-precision product
// j * SampleInterval.
constexpr float SampleInterval = 0.0114f;

inline float SampleTime(int j) {
    return static_cast<float>(j) * SampleInterval;
}

TLoadResults ComputeLoadResults(const TZRTest& test, int loadIndex);

// The samples in amperes, scaled so that the largest excursion equals the corrected first-phase peak.
TSampleAmps SampleToAmps(const TZRTest& test, const TLoadResults& results);
