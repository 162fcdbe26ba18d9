#include "verdict/verdicttext.h"

#include <cmath>

QString VerdictNumber(double value, int decimals, const QLocale& locale) {
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0)
        rounded = 0.0;
    return locale.toString(rounded, 'f', decimals);
}

QString LoadVerdictFigures(const TLoadVerdict& v, const QLocale& locale) {
    if (!v.Tested())
        return LoadCheckText(v.check);
    const QString delivered = QStringLiteral("delivered %1 J").arg(VerdictNumber(v.delivered, 2, locale));
    if (!v.Checked())
        return delivered + QStringLiteral(", ") + LoadCheckText(v.check);
    return delivered + QStringLiteral(", declared %1 J, deviation %2 J (%3 %), limit %4 J")
                           .arg(locale.toString(v.declared, 'g', QLocale::FloatingPointShortest),
                                VerdictNumber(v.deviation, 2, locale),
                                VerdictNumber(v.deviationPercent, 1, locale),
                                VerdictNumber(v.limit, 2, locale));
}

QString LoadVerdictLine(const TLoadVerdict& v, const QLocale& locale) {
    const QString line = QStringLiteral("%1: ").arg(LoadName(v.load), 8) + LoadVerdictFigures(v, locale);
    return v.Checked() ? line + QStringLiteral(": ") + LoadCheckText(v.check) : line;
}

QString JudgedLoadsText(const TRecordVerdict& verdict) {
    if (verdict.judged == 0)
        return QStringLiteral("0 of %1 loads judged").arg(LOAD_COUNT);
    if (verdict.failed == 0)
        return QStringLiteral("%1 of %2 loads judged, all within the limit")
            .arg(verdict.judged)
            .arg(LOAD_COUNT);
    QStringList failed;
    for (const TLoadVerdict& v : verdict.loads)
        if (v.check == TLoadCheck::Fail)
            failed << LoadName(v.load);
    return QStringLiteral("%1 of %2 judged load%3 outside the limit (%4)")
        .arg(verdict.failed)
        .arg(verdict.judged)
        .arg(verdict.judged == 1 ? QString() : QStringLiteral("s"))
        .arg(failed.join(QStringLiteral(", ")));
}

QString OverallVerdictSummary(const TRecordVerdict& verdict) {
    return OverallVerdictText(verdict.overall) + QStringLiteral(": ") + JudgedLoadsText(verdict);
}

QString RecordVerdictLine(const TRecordVerdict& verdict, const QString& profileName, double selected) {
    return QStringLiteral("Verdict: %1, profile \"%2\" at %3 J: %4")
        .arg(OverallVerdictText(verdict.overall), profileName, JoulesText(selected),
             JudgedLoadsText(verdict));
}

QString EnergySettingHint(const TLoadVerdict& v, double selected) {
    if (!FarOutsideLimit(v))
        return QString();
    const QString chosen = JoulesText(selected);
    return QStringLiteral("delivered %1 J at %2, %3 J chosen: is the defibrillator set to %3 J?")
        .arg(VerdictNumber(v.delivered, 0, QLocale()), LoadName(v.load), chosen);
}

QString EnergySettingHint(const TRecordVerdict& verdict, double selected) {
    const TLoadVerdict* furthest = nullptr;
    for (const TLoadVerdict& v : verdict.loads)
        if (FarOutsideLimit(v) &&
            (furthest == nullptr ||
             std::abs(v.deviation) / v.limit > std::abs(furthest->deviation) / furthest->limit))
            furthest = &v;
    return furthest ? EnergySettingHint(*furthest, selected) : QString();
}

QStringList LoadVerdictHeadings() {
    return {QStringLiteral("Load"),        QStringLiteral("Delivered J"), QStringLiteral("Declared J"),
            QStringLiteral("Deviation J"), QStringLiteral("Deviation %"), QStringLiteral("Limit \u00b1 J"),
            QStringLiteral("Result")};
}

QStringList LoadVerdictCells(const TLoadVerdict& v, bool checking, const QLocale& locale) {
    QStringList cells(LoadVerdictHeadings().size());
    cells[0] = LoadName(v.load);
    if (v.Tested())
        cells[1] = VerdictNumber(v.delivered, 2, locale);
    if (v.Checked()) {
        cells[2] = locale.toString(v.declared, 'g', QLocale::FloatingPointShortest);
        cells[3] = VerdictNumber(v.deviation, 2, locale);
        cells[4] = VerdictNumber(v.deviationPercent, 1, locale);
        cells[5] = VerdictNumber(v.limit, 2, locale);
    }
    if (checking || !v.Tested())
        cells[6] = LoadCheckText(v.check);
    return cells;
}
