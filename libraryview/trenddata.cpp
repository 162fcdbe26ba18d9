#include "libraryview/trenddata.h"

#include "verdict/verdict.h"

#include <QDateTime>
#include <algorithm>

std::vector<TTrendLoad> BuildTrend(const std::vector<TLibraryTest>& tests,
                                   const std::optional<TVerdictBasis>& basis) {
    std::vector<const TLibraryTest*> oldestFirst;
    for (const TLibraryTest& test : tests)
        oldestFirst.push_back(&test);
    std::stable_sort(oldestFirst.begin(), oldestFirst.end(),
                     [](const TLibraryTest* a, const TLibraryTest* b) { return a->testedAt < b->testedAt; });
    std::vector<TTrendLoad> trend;
    for (int load = 0; load < LOAD_COUNT; ++load) {
        TTrendLoad series;
        series.load = load;
        for (const TLibraryTest* test : oldestFirst) {
            if (!test->delivered[load])
                continue;
            series.keys.push_back(TrendKey(test->testedAt));
            series.energies.push_back(*test->delivered[load]);
        }
        if (series.keys.empty())
            continue;
        if (basis && basis->setting.declared[load]) {
            series.declared = basis->setting.declared[load];
            series.limit = ToleranceLimit(*series.declared, basis->profile.tolerance);
        }
        trend.push_back(std::move(series));
    }
    return trend;
}

double TrendKey(const QString& testedAt) {
    return static_cast<double>(QDateTime::fromString(testedAt, Qt::ISODate).toMSecsSinceEpoch()) / 1000.0;
}

TVerdictChoice TrendChoice(const TVerdictSettings& remembered, const std::vector<TProfile>& profiles,
                           const TLibraryTest& newest) {
    if (newest.choice && ResolveVerdictChoice(profiles, *newest.choice))
        return *newest.choice;
    return PreselectVerdictChoice(remembered, profiles, newest.deviceInfo[diManufacturer],
                                  newest.deviceInfo[diModel], TVerdictChoice{});
}
