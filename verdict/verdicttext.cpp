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
                                VerdictNumber(v.deviation, 2, locale), VerdictNumber(v.deviationPercent, 1, locale),
                                VerdictNumber(v.limit, 2, locale));
}

QString LoadVerdictLine(const TLoadVerdict& v, const QLocale& locale) {
    const QString line = QStringLiteral("%1: ").arg(LoadName(v.load), 8) + LoadVerdictFigures(v, locale);
    return v.Checked() ? line + QStringLiteral(": ") + LoadCheckText(v.check) : line;
}

QString RecordVerdictLine(const TRecordVerdict& verdict, const QString& profileName, double selected) {
    const QString line = QStringLiteral("Verdict: %1, profile \"%2\" at %3 J: ")
                             .arg(OverallVerdictText(verdict.overall), profileName, JoulesText(selected));
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
