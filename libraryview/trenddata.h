#pragma once
// The trend of one device's delivered energy: for each load, its energy in each of the device's tests
// by the test's date, each point marked with that load's verdict against the test's own stored
// choice, and the declared energy with its tolerance at the chart's setting, so that a drift towards
// the edge of the band shows long before a test fails. A test checked at another energy than the
// chart's is marked as such and stays off the load's line, which is the trend at the chart's energy;
// the line breaks at a test that lacks the load. Qt Core only.

#include "library/testlibrary.h"
#include "verdict/verdictchoice.h"

#include <QLocale>
#include <QString>
#include <optional>
#include <vector>

// A load's verdict in one test, against that test's own choice: what its marker shows.
enum class TTrendMark {
    Pass,
    Fail,
    NoDeclaredValue, // the test's setting declares nothing for the load
    NotChecked,      // the test was checked against nothing, or against a profile no longer there
};

struct TTrendPoint {
    size_t test = 0;     // in TTrend::tests
    double energy = 0.0; // J, delivered into the load
    TTrendMark mark = TTrendMark::NotChecked;
    bool otherEnergy = false; // checked at another energy than the chart's
};

struct TTrendLoad {
    int load = 0;                     // index 0..6
    std::vector<TTrendPoint> points;  // oldest first
    std::vector<double> lineKeys;     // the load's line, without the tests at another energy: NaN
    std::vector<double> lineEnergies; // energies break it where a test lacks the load
    std::optional<double> declared;   // J, at the chart's setting; none for no check or nothing declared
    double limit = 0.0;               // J, the largest deviation allowed from `declared`
};

// A test the chart draws a point of.
struct TTrendTest {
    double key = 0.0; // TrendKey of its date
    QString testedAt;
    QString analyzerId;
    std::optional<TVerdictChoice> choice;
    bool sharesDay = false; // with another test drawn: its date is told with the time
};

// The first test with another analyzer than the tests before it (an empty ID tells no change).
struct TAnalyzerChange {
    double key = 0.0;
    QString analyzerId;
};

struct TTrend {
    std::vector<TTrendTest> tests; // oldest first
    std::vector<TTrendLoad> loads; // in load order, only loads with a point
    std::vector<TAnalyzerChange> analyzerChanges;
    std::optional<double> selected; // J, the chart's energy setting; none for no check

    bool Empty() const { return loads.empty(); }
    bool Has(TTrendMark mark) const;
    bool HasOtherEnergy() const;
};

// The trend of `tests` (in any order) against `basis` (the chart's setting), of the load `load` or of
// all loads; each test's own choice is resolved among `profiles` to judge its points.
TTrend BuildTrend(const std::vector<TLibraryTest>& tests, const std::optional<TVerdictBasis>& basis,
                  const std::vector<TProfile>& profiles, std::optional<int> load = std::nullopt);

// A test's date and time (ISO 8601 local time) as the chart's date axis counts: seconds since
// 1970-01-01 UTC.
double TrendKey(const QString& testedAt);

// The date axis's format for a span of `seconds`: with the time of day where its ticks fall within a
// few days (tests of one day), with the day where the span is under two years, else the month.
QString TrendAxisFormat(double seconds);

// What a point's tool tip says: the test's date (with its time where another test shares the day),
// the load's energy and verdict, the setting it was checked against (and that it is another energy
// than the chart's) and the analyzer.
QString TrendPointText(const TTrend& trend, const TTrendLoad& load, const TTrendPoint& point,
                       const QLocale& locale = QLocale());

// "PASS", "FAIL", "Not judged": the legend's name of a marker.
QString TrendMarkName(TTrendMark mark);

// The setting a device's trend is checked against: the choice stored with its newest test while the
// profiles still hold it, else what the windows offer for the device's make and model (no check when
// they offer nothing of their own).
TVerdictChoice TrendChoice(const TVerdictSettings& remembered, const std::vector<TProfile>& profiles,
                           const TLibraryTest& newest);
