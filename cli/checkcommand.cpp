// zrqtool check: each load's delivered energy against the energy a defibrillator profile declares for
// it at the selected setting, and the overall verdict.
#include "cli/command.h"
#include "cli/recordinput.h"
#include "cli/verdictoutput.h"

namespace {

struct CheckOptions {
    QString record;
    QString profile;
    double energy = 0.0;
    bool hasEnergy = false;
    bool json = false;
};

bool ParseOptions(const QStringList& args, CheckOptions& o, QTextStream& err) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool takesValue = arg == QLatin1String("--profile") || arg == QLatin1String("--energy");
        if (takesValue && i + 1 >= args.size()) {
            err << "zrqtool: check: " << arg << " expects a value\n";
            return false;
        }
        if (arg == QLatin1String("--json")) {
            o.json = true;
        } else if (arg == QLatin1String("--profile")) {
            o.profile = args[++i];
        } else if (arg == QLatin1String("--energy")) {
            const QString& value = args[++i];
            o.energy = value.toDouble(&o.hasEnergy);
            if (!o.hasEnergy || o.energy <= 0.0) {
                err << "zrqtool: check: --energy: invalid value \"" << value << "\"\n";
                return false;
            }
        } else if (arg.startsWith(QLatin1String("--")) || !o.record.isEmpty()) {
            err << "zrqtool: check: unexpected argument \"" << arg << "\"\n";
            return false;
        } else {
            o.record = arg;
        }
    }
    if (o.record.isEmpty() || o.profile.isEmpty() || !o.hasEnergy) {
        err << "zrqtool: check: expects FILE.zrq, --profile and --energy\n";
        return false;
    }
    return true;
}

} // namespace

int RunCheckCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    CheckOptions options;
    if (!ParseOptions(args, options, err))
        return ExitUsage;
    const auto rec = ReadTestRecord(options.record, err);
    if (!rec)
        return ExitFailure;
    const auto basis = ResolveVerdictBasis(options.profile, options.energy, err);
    if (!basis)
        return ExitFailure;
    return PrintVerdict(*rec, *basis, options.json, out, err);
}
