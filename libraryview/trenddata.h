#pragma once
// The trend of one device's delivered energy: for each load, its energy in each of the device's tests
// by the test's date, and the declared energy with its tolerance at the chosen setting, so that a
// drift towards the edge of the band shows long before a test fails. Qt Core only.

#include "library/testlibrary.h"
#include "verdict/verdictchoice.h"

#include <QString>
#include <optional>
#include <vector>

struct TTrendLoad {
    int load = 0;                   // index 0..6
    std::vector<double> keys;       // each test's date and time (TrendKey), oldest first
    std::vector<double> energies;   // J, delivered in that test
    std::optional<double> declared; // J, at the chosen setting; none for no check or nothing declared
    double limit = 0.0;             // J, the largest deviation allowed from `declared`
};

// One entry per load tested in any of `tests` (in any order), in load order.
std::vector<TTrendLoad> BuildTrend(const std::vector<TLibraryTest>& tests,
                                   const std::optional<TVerdictBasis>& basis);

// A test's date and time (ISO 8601 local time) as the chart's date axis counts: seconds since
// 1970-01-01 UTC.
double TrendKey(const QString& testedAt);

// The setting a device's trend is checked against: the choice stored with its newest test while the
// profiles still hold it, else what the windows offer for the device's make and model (no check when
// they offer nothing of their own).
TVerdictChoice TrendChoice(const TVerdictSettings& remembered, const std::vector<TProfile>& profiles,
                           const TLibraryTest& newest);
