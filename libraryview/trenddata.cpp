#include "libraryview/trenddata.h"

#include "libraryview/librarytexts.h"
#include "records/tzrtestrec.h"
#include "verdict/verdict.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Day = 24.0 * 3600.0;

// Resolves each distinct stored choice once: a device's tests mostly share one.
class ChoiceCache {
public:
    explicit ChoiceCache(const std::vector<TProfile>& profiles) : m_profiles(profiles) {}
    const TVerdictBasis* Find(const std::optional<TVerdictChoice>& choice) {
        if (!choice || !choice->Checks())
            return nullptr;
        for (const auto& [known, basis] : m_resolved)
            if (known == *choice)
                return basis ? &*basis : nullptr;
        m_resolved.emplace_back(*choice, ResolveVerdictChoice(m_profiles, *choice));
        return m_resolved.back().second ? &*m_resolved.back().second : nullptr;
    }

private:
    const std::vector<TProfile>& m_profiles;
    std::vector<std::pair<TVerdictChoice, std::optional<TVerdictBasis>>> m_resolved;
};

TTrendMark Mark(const TVerdictBasis* own, int load, double energy) {
    if (own == nullptr)
        return TTrendMark::NotChecked;
    switch (JudgeLoad(load, energy, own->setting.declared[load], own->profile.tolerance).check) {
    case TLoadCheck::Pass:
        return TTrendMark::Pass;
    case TLoadCheck::Fail:
        return TTrendMark::Fail;
    default:
        return TTrendMark::NoDeclaredValue;
    }
}

bool OtherEnergy(const std::optional<TVerdictChoice>& own, const std::optional<double>& selected) {
    return selected && own && own->Checks() && own->selected != *selected;
}

template <class Test> bool AnyPoint(const std::vector<TTrendLoad>& loads, Test test) {
    for (const TTrendLoad& series : loads)
        if (std::any_of(series.points.begin(), series.points.end(), test))
            return true;
    return false;
}

} // namespace

bool TTrend::Has(TTrendMark mark) const {
    return AnyPoint(loads, [mark](const TTrendPoint& point) { return point.mark == mark; });
}

bool TTrend::HasOtherEnergy() const {
    return AnyPoint(loads, [](const TTrendPoint& point) { return point.otherEnergy; });
}

TTrend BuildTrend(const std::vector<TLibraryTest>& tests, const std::optional<TVerdictBasis>& basis,
                  const std::vector<TProfile>& profiles, std::optional<int> load) {
    std::vector<const TLibraryTest*> oldestFirst;
    for (const TLibraryTest& test : tests)
        oldestFirst.push_back(&test);
    std::stable_sort(oldestFirst.begin(), oldestFirst.end(),
                     [](const TLibraryTest* a, const TLibraryTest* b) { return a->testedAt < b->testedAt; });
    std::vector<double> keys; // parsed once: a date is slow to read
    for (const TLibraryTest* test : oldestFirst)
        keys.push_back(TrendKey(test->testedAt));
    const auto shown = [&](int l) { return !load || *load == l; };

    TTrend trend;
    if (basis)
        trend.selected = basis->setting.selected;
    // Each test with a point, and where each test of the device stands among them.
    std::vector<std::optional<size_t>> drawn;
    for (size_t i = 0; i < oldestFirst.size(); ++i) {
        const TLibraryTest* test = oldestFirst[i];
        bool any = false;
        for (int l = 0; l < LOAD_COUNT; ++l)
            any = any || (shown(l) && test->delivered[l]);
        drawn.push_back(any ? std::optional<size_t>(trend.tests.size()) : std::nullopt);
        if (any)
            trend.tests.push_back({keys[i], test->testedAt, test->analyzerId, test->choice, false});
    }
    for (size_t i = 1; i < trend.tests.size(); ++i)
        if (trend.tests[i].testedAt.left(10) == trend.tests[i - 1].testedAt.left(10))
            trend.tests[i].sharesDay = trend.tests[i - 1].sharesDay = true;
    QString analyzer;
    for (const TTrendTest& test : trend.tests) {
        if (test.analyzerId.isEmpty())
            continue;
        if (!analyzer.isEmpty() && test.analyzerId != analyzer)
            trend.analyzerChanges.push_back({test.key, test.analyzerId});
        analyzer = test.analyzerId;
    }

    ChoiceCache choices(profiles);
    constexpr double Gap = std::numeric_limits<double>::quiet_NaN();
    for (int l = 0; l < LOAD_COUNT; ++l) {
        if (!shown(l))
            continue;
        TTrendLoad series;
        series.load = l;
        for (size_t i = 0; i < oldestFirst.size(); ++i) {
            const TLibraryTest& test = *oldestFirst[i];
            if (test.LoadsTested() == 0)
                continue; // no test at all: it breaks no line
            const double key = keys[i];
            const bool other = OtherEnergy(test.choice, trend.selected);
            if (test.delivered[l]) {
                const double energy = *test.delivered[l];
                series.points.push_back(
                    {*drawn[i], energy, Mark(choices.Find(test.choice), l, energy), other});
            }
            if (test.delivered[l] && !other) {
                series.lineKeys.push_back(key);
                series.lineEnergies.push_back(*test.delivered[l]);
            } else if (!test.delivered[l] && !series.lineEnergies.empty() &&
                       !std::isnan(series.lineEnergies.back())) {
                series.lineKeys.push_back(key);
                series.lineEnergies.push_back(Gap);
            }
        }
        if (!series.lineEnergies.empty() && std::isnan(series.lineEnergies.back())) {
            series.lineKeys.pop_back();
            series.lineEnergies.pop_back();
        }
        if (series.points.empty())
            continue;
        if (basis && basis->setting.declared[l]) {
            series.declared = basis->setting.declared[l];
            series.limit = ToleranceLimit(*series.declared, basis->profile.tolerance);
        }
        trend.loads.push_back(std::move(series));
    }
    return trend;
}

double TrendKey(const QString& testedAt) {
    return static_cast<double>(QDateTime::fromString(testedAt, Qt::ISODate).toMSecsSinceEpoch()) / 1000.0;
}

QString TrendAxisFormat(double seconds) {
    if (seconds < 4 * Day)
        return QStringLiteral("MMM d\nh:mm AP");
    return seconds < 2 * 365 * Day ? QStringLiteral("MMM d\nyyyy") : QStringLiteral("MMM yyyy");
}

QString TrendMarkName(TTrendMark mark) {
    switch (mark) {
    case TTrendMark::Pass:
        return QStringLiteral("PASS");
    case TTrendMark::Fail:
        return QStringLiteral("FAIL");
    case TTrendMark::NoDeclaredValue:
    case TTrendMark::NotChecked:
        break;
    }
    return QStringLiteral("Not judged");
}

QString TrendPointText(const TTrend& trend, const TTrendLoad& load, const TTrendPoint& point,
                       const QLocale& locale) {
    const TTrendTest& test = trend.tests[point.test];
    QStringList lines;
    lines << (test.sharesDay ? LibraryDateTimeText(test.testedAt, locale)
                             : LibraryDateText(test.testedAt, locale));
    QString verdict;
    switch (point.mark) {
    case TTrendMark::Pass:
    case TTrendMark::Fail:
        verdict = TrendMarkName(point.mark);
        break;
    case TTrendMark::NoDeclaredValue:
        verdict = LoadCheckText(TLoadCheck::NotDeclared);
        break;
    case TTrendMark::NotChecked:
        verdict = test.choice && test.choice->Checks() ? QStringLiteral("not judged (no such profile now)")
                                                       : QStringLiteral("not judged");
        break;
    }
    lines << QStringLiteral("%1: %2 J, %3")
                 .arg(LoadName(load.load), locale.toString(point.energy, 'f', 1), verdict);
    if (!test.choice || !test.choice->Checks())
        lines << QStringLiteral("Not checked");
    else if (point.otherEnergy)
        lines << QStringLiteral("Checked against %1: another energy than the chart's %2 J")
                     .arg(ChoiceText(test.choice), JoulesText(*trend.selected));
    else
        lines << QStringLiteral("Checked against %1").arg(ChoiceText(test.choice));
    if (!test.analyzerId.isEmpty())
        lines << QStringLiteral("Analyzer %1").arg(test.analyzerId);
    return lines.join(QLatin1Char('\n'));
}

TVerdictChoice TrendChoice(const TVerdictSettings& remembered, const std::vector<TProfile>& profiles,
                           const TLibraryTest& newest) {
    if (newest.choice && ResolveVerdictChoice(profiles, *newest.choice))
        return *newest.choice;
    return PreselectVerdictChoice(remembered, profiles, newest.deviceInfo[diManufacturer],
                                  newest.deviceInfo[diModel], TVerdictChoice{});
}
