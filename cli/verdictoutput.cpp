#include "cli/verdictoutput.h"

#include "base/global.h"
#include "cli/command.h"
#include "library/testlibrary.h"
#include "verdict/profilefolder.h"
#include "verdict/verdict.h"
#include "verdict/verdicttext.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cmath>

namespace {

// Rounded to `decimals`; a value that rounds to zero is zero, never "-0.00".
double Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0.0 ? 0.0 : rounded;
}

double Hundredths(double value) {
    return Rounded(value, 2);
}

QJsonObject LoadJson(const TLoadVerdict& v) {
    const QJsonValue null(QJsonValue::Null);
    const bool checked = v.Checked();
    return QJsonObject{
        {QStringLiteral("ohms"), LoadOhms(v.load)},
        {QStringLiteral("tested"), v.Tested()},
        {QStringLiteral("delivered_j"), v.Tested() ? QJsonValue(Hundredths(v.delivered)) : null},
        {QStringLiteral("declared_j"), checked ? QJsonValue(v.declared) : null},
        {QStringLiteral("limit_j"), checked ? QJsonValue(Hundredths(v.limit)) : null},
        {QStringLiteral("deviation_j"), checked ? QJsonValue(Hundredths(v.deviation)) : null},
        {QStringLiteral("pass"), checked ? QJsonValue(v.check == TLoadCheck::Pass) : null},
    };
}

QByteArray VerdictJson(const TRecordVerdict& verdict, const TVerdictBasis& basis) {
    QJsonArray loads;
    for (const TLoadVerdict& v : verdict.loads)
        loads.append(LoadJson(v));
    const QJsonObject object{
        {QStringLiteral("verdict"), QString::fromLatin1(VerdictValue(verdict.overall))},
        {QStringLiteral("loads_judged"), verdict.judged},
        {QStringLiteral("profile"), basis.profile.name},
        {QStringLiteral("selected_j"), basis.setting.selected},
        {QStringLiteral("loads"), loads},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

bool ParseVerdictArguments(const char* command, const QStringList& args, int fileCount,
                           const QStringList& knownFlags, VerdictArguments& parsed, QTextStream& err) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool takesValue = arg == QLatin1String("--profile") || arg == QLatin1String("--energy");
        if (takesValue && i + 1 >= args.size()) {
            err << "zrqtool: " << command << ": " << arg << " expects a value\n";
            return false;
        }
        if (knownFlags.contains(arg)) {
            parsed.flags << arg;
        } else if (arg == QLatin1String("--profile")) {
            parsed.profile = args[++i];
        } else if (arg == QLatin1String("--energy")) {
            const QString& value = args[++i];
            parsed.energy = value.toDouble(&parsed.hasEnergy);
            if (!parsed.hasEnergy || parsed.energy <= 0.0) {
                err << "zrqtool: " << command << ": --energy: invalid value \"" << value << "\"\n";
                return false;
            }
        } else if (arg.startsWith(QLatin1String("--")) || parsed.files.size() >= fileCount) {
            err << "zrqtool: " << command << ": unexpected argument \"" << arg << "\"\n";
            return false;
        } else {
            parsed.files << arg;
        }
    }
    return true;
}

std::optional<TVerdictBasis> ResolveVerdictBasis(const QString& profileArgument, double energy,
                                                 QTextStream& err) {
    // zrqtool sets up the data folder only where it looks into it.
    if (DataFolder.isEmpty() && !QFileInfo(profileArgument).isFile())
        SetupDataFolder();
    QString error;
    std::optional<TProfile> profile = FindProfile(profileArgument, error);
    if (!profile) {
        err << "zrqtool: " << error << '\n';
        return std::nullopt;
    }
    const TProfileSetting* setting = profile->FindSetting(energy);
    if (setting == nullptr) {
        err << "zrqtool: the profile \"" << profile->name << "\" has no setting of " << JoulesText(energy)
            << " J; it lists " << profile->SettingsText() << '\n';
        return std::nullopt;
    }
    return TVerdictBasis{*profile, *setting};
}

int PrintVerdict(const TZRTestRec& rec, const TVerdictBasis& basis, bool json, QTextStream& out,
                 QTextStream& err) {
    const TRecordVerdict verdict = RecordVerdict(rec, basis.setting, basis.profile.tolerance);
    if (verdict.tested == 0) {
        err << "zrqtool: the record holds no tested load\n";
        return ExitFailure;
    }
    if (verdict.judged == 0)
        err << "zrqtool: the profile \"" << basis.profile.name << "\" declares no energy at "
            << JoulesText(basis.setting.selected) << " J for any tested load; nothing was judged\n";
    if (json) {
        out << VerdictJson(verdict, basis) << '\n';
    } else {
        const QLocale locale;
        for (const TLoadVerdict& v : verdict.loads)
            out << LoadVerdictLine(v, locale) << '\n';
        out << RecordVerdictLine(verdict, basis.profile.name, basis.setting.selected) << '\n';
    }
    switch (verdict.overall) {
    case TOverallVerdict::Pass:
        return ExitSuccess;
    case TOverallVerdict::Fail:
        return ExitChecksFailed;
    default:
        return ExitIncomplete;
    }
}
