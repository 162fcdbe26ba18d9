#include "verdict/verdict.h"

#include "records/loadresults.h"

#include <algorithm>
#include <cmath>

namespace {

// The delivered energy is a single-precision value (37.95 J is held as 37.950001 J): a deviation within
// a ten-thousandth of a joule of the limit, far below the analyzer's 0.1 J resolution, is at the limit.
constexpr double LimitSlackJoules = 1e-4;

} // namespace

double ToleranceLimit(double declared, const TTolerance& tolerance) {
    return std::max(tolerance.joules, tolerance.percent * declared / 100.0);
}

TLoadVerdict JudgeLoad(int load, std::optional<double> delivered, std::optional<double> declared,
                       const TTolerance& tolerance) {
    TLoadVerdict verdict;
    verdict.load = load;
    if (!delivered)
        return verdict;
    verdict.delivered = *delivered;
    verdict.check = TLoadCheck::NotDeclared;
    if (!declared)
        return verdict;
    verdict.declared = *declared;
    verdict.limit = ToleranceLimit(*declared, tolerance);
    verdict.deviation = *delivered - *declared;
    verdict.deviationPercent = 100.0 * verdict.deviation / *declared;
    verdict.check =
        std::abs(verdict.deviation) <= verdict.limit + LimitSlackJoules ? TLoadCheck::Pass : TLoadCheck::Fail;
    return verdict;
}

double DeliveredEnergy(const TZRTest& test, int load) {
    return ComputeLoadResults(test, load)[lrTotalEnergy];
}

TLoadVerdict LoadVerdict(const TZRTest& test, int load, const TProfileSetting& setting,
                         const TTolerance& tolerance) {
    const std::optional<double> delivered =
        test.HasData != 0 ? std::optional<double>(DeliveredEnergy(test, load)) : std::nullopt;
    return JudgeLoad(load, delivered, setting.declared[load], tolerance);
}

TRecordVerdict RecordVerdict(const TZRTestRec& rec, const TProfileSetting& setting,
                             const TTolerance& tolerance) {
    TRecordVerdict verdict;
    for (int load = 0; load < LOAD_COUNT; ++load) {
        const TLoadVerdict& one = verdict.loads[load] =
            LoadVerdict(rec.Loads[load], load, setting, tolerance);
        verdict.tested += one.Tested() ? 1 : 0;
        verdict.judged += one.Checked() ? 1 : 0;
        verdict.failed += one.check == TLoadCheck::Fail ? 1 : 0;
    }
    verdict.overall = verdict.failed > 0             ? TOverallVerdict::Fail
                      : verdict.judged == LOAD_COUNT ? TOverallVerdict::Pass
                                                     : TOverallVerdict::Incomplete;
    return verdict;
}

QString LoadCheckText(TLoadCheck check) {
    switch (check) {
    case TLoadCheck::NotTested:
        return QStringLiteral("not tested");
    case TLoadCheck::NotDeclared:
        return QStringLiteral("no declared value");
    case TLoadCheck::Pass:
        return QStringLiteral("PASS");
    case TLoadCheck::Fail:
        return QStringLiteral("FAIL");
    }
    return QString();
}

QString OverallVerdictText(TOverallVerdict verdict) {
    switch (verdict) {
    case TOverallVerdict::Pass:
        return QStringLiteral("PASS");
    case TOverallVerdict::Fail:
        return QStringLiteral("FAIL");
    case TOverallVerdict::Incomplete:
        return QStringLiteral("INCOMPLETE");
    case TOverallVerdict::NoCheck:
        return QStringLiteral("NO CHECK");
    }
    return QString();
}

bool FarOutsideLimit(const TLoadVerdict& verdict) {
    return verdict.check == TLoadCheck::Fail && std::abs(verdict.deviation) > 2.0 * verdict.limit;
}
