#include "cli/verdictoutput.h"

#include "base/global.h"
#include "cli/command.h"
#include "verdict/profilefolder.h"
#include "verdict/verdict.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>
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

QString Fixed(const QLocale& locale, double value, int decimals) {
    return locale.toString(Rounded(value, decimals), 'f', decimals);
}

QString LoadLine(const TLoadVerdict& v, const QLocale& locale) {
    QString line = QStringLiteral("%1: ").arg(LoadName(v.load), 8);
    if (!v.Tested())
        return line + LoadCheckText(v.check);
    line += QStringLiteral("delivered %1 J, ").arg(Fixed(locale, v.delivered, 2));
    if (!v.Checked())
        return line + LoadCheckText(v.check);
    return line + QStringLiteral("declared %1 J, deviation %2 J (%3 %), limit %4 J: %5")
                      .arg(locale.toString(v.declared, 'g', QLocale::FloatingPointShortest),
                           Fixed(locale, v.deviation, 2), Fixed(locale, v.deviationPercent, 1),
                           Fixed(locale, v.limit, 2), LoadCheckText(v.check));
}

QString VerdictLine(const TRecordVerdict& verdict, const CheckBasis& basis) {
    QString line =
        QStringLiteral("Verdict: %1, profile \"%2\" at %3 J: ")
            .arg(OverallVerdictText(verdict.overall), basis.profile.name, JoulesText(basis.setting.selected));
    if (verdict.failed == 0)
        return line + QStringLiteral("%1 load%2 checked, all within the limit")
                          .arg(verdict.checked)
                          .arg(verdict.checked == 1 ? QString() : QStringLiteral("s"));
    QStringList failed;
    for (const TLoadVerdict& v : verdict.loads)
        if (v.check == TLoadCheck::Fail)
            failed << LoadName(v.load);
    return line + QStringLiteral("%1 of %2 loads checked outside the limit (%3)")
                      .arg(verdict.failed)
                      .arg(verdict.checked)
                      .arg(failed.join(QStringLiteral(", ")));
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

QByteArray VerdictJson(const TRecordVerdict& verdict, const CheckBasis& basis) {
    QJsonArray loads;
    for (const TLoadVerdict& v : verdict.loads)
        loads.append(LoadJson(v));
    const QJsonObject object{
        {QStringLiteral("verdict"),
         verdict.overall == TOverallVerdict::Pass ? QStringLiteral("pass") : QStringLiteral("fail")},
        {QStringLiteral("profile"), basis.profile.name},
        {QStringLiteral("selected_j"), basis.setting.selected},
        {QStringLiteral("loads"), loads},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

std::optional<CheckBasis> ResolveCheckBasis(const QString& profileArgument, double energy, QTextStream& err) {
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
    return CheckBasis{*profile, *setting};
}

int PrintVerdict(const TZRTestRec& rec, const CheckBasis& basis, bool json, QTextStream& out,
                 QTextStream& err) {
    const TRecordVerdict verdict = RecordVerdict(rec, basis.setting, basis.profile.tolerance);
    if (verdict.tested == 0) {
        err << "zrqtool: the record holds no tested load\n";
        return ExitFailure;
    }
    if (verdict.checked == 0) {
        err << "zrqtool: the profile \"" << basis.profile.name << "\" declares no energy at "
            << JoulesText(basis.setting.selected) << " J for any tested load; nothing was checked\n";
        return ExitFailure;
    }
    if (json) {
        out << VerdictJson(verdict, basis) << '\n';
    } else {
        const QLocale locale;
        for (const TLoadVerdict& v : verdict.loads)
            out << LoadLine(v, locale) << '\n';
        out << VerdictLine(verdict, basis) << '\n';
    }
    return verdict.overall == TOverallVerdict::Pass ? ExitSuccess : ExitChecksFailed;
}
