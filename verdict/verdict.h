#pragma once
// The verdict of a variable load test against a defibrillator profile. A load passes when the energy
// it received stays within max(joules, percent / 100 x declared) of the energy the maker declares for
// that load at the selected setting. The delivered energy is the load's corrected total energy, the
// value the report shows as "DISCHARGE ENERGY (J)", taken before rounding.

#include "records/tzrtestrec.h"
#include "verdict/profile.h"

#include <QString>
#include <array>
#include <optional>

enum class TLoadCheck {
    NotTested,   // the load has no data
    NotDeclared, // tested, but the profile declares nothing for it at this setting
    Pass,
    Fail,
};

struct TLoadVerdict {
    int load = 0; // index 0..6
    TLoadCheck check = TLoadCheck::NotTested;
    // The numbers that apply: delivered for a tested load; the others only for a checked one.
    double delivered = 0.0;        // J
    double declared = 0.0;         // J
    double limit = 0.0;            // J, the largest deviation allowed
    double deviation = 0.0;        // J, delivered - declared
    double deviationPercent = 0.0; // of the declared energy

    bool Tested() const { return check != TLoadCheck::NotTested; }
    bool Checked() const { return check == TLoadCheck::Pass || check == TLoadCheck::Fail; }
};

// The variable load test is all seven loads: a test is never kinder than its facts.
enum class TOverallVerdict {
    Pass,       // all seven loads judged against a declared energy, each within its limit
    Fail,       // a judged load outside its limit, however many were tested
    Incomplete, // none failed, but a load was not tested or has no declared energy
    NoCheck,    // nothing to judge against: no profile was chosen (RecordVerdict never gives it)
};

struct TRecordVerdict {
    std::array<TLoadVerdict, LOAD_COUNT> loads;
    TOverallVerdict overall = TOverallVerdict::Incomplete;
    int tested = 0;
    int judged = 0; // tested and checked against a declared energy
    int failed = 0;
};

// The largest deviation allowed from `declared`: max(joules, percent / 100 x declared).
double ToleranceLimit(double declared, const TTolerance& tolerance);

// The rule for one load, from its numbers: `delivered` empty for a load not tested, `declared` empty
// where the profile declares nothing.
TLoadVerdict JudgeLoad(int load, std::optional<double> delivered, std::optional<double> declared,
                       const TTolerance& tolerance);

// The energy a tested load received: its corrected total energy, unrounded.
double DeliveredEnergy(const TZRTest& test, int load);

// One load of a record, as the step window shows it after the load's download.
TLoadVerdict LoadVerdict(const TZRTest& test, int load, const TProfileSetting& setting,
                         const TTolerance& tolerance);

// Every load of a record and the overall verdict.
TRecordVerdict RecordVerdict(const TZRTestRec& rec, const TProfileSetting& setting,
                             const TTolerance& tolerance);

// "PASS", "FAIL", "not tested", "no declared value".
QString LoadCheckText(TLoadCheck check);
// "PASS", "FAIL", "INCOMPLETE", "NO CHECK".
QString OverallVerdictText(TOverallVerdict verdict);

// Far outside the limit (more than twice it) the likelier cause is an energy setting other than the one
// chosen, not a failed device.
bool FarOutsideLimit(const TLoadVerdict& verdict);
