// zrqtool check: each load's delivered energy against the energy a defibrillator profile declares for
// it at the selected setting, and the overall verdict.
#include "cli/command.h"
#include "cli/recordinput.h"
#include "cli/verdictoutput.h"

int RunCheckCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    VerdictArguments options;
    if (!ParseVerdictArguments("check", args, 1, {QStringLiteral("--json")}, options, err))
        return ExitUsage;
    if (options.files.isEmpty() || options.profile.isEmpty() || !options.hasEnergy) {
        err << "zrqtool: check: expects FILE.zrq, --profile and --energy\n";
        return ExitUsage;
    }
    const auto rec = ReadTestRecord(options.files.first(), err);
    if (!rec)
        return ExitFailure;
    const auto basis = ResolveVerdictBasis(options.profile, options.energy, err);
    if (!basis)
        return ExitFailure;
    return PrintVerdict(*rec, *basis, options.flags.contains(QStringLiteral("--json")), out, err);
}
