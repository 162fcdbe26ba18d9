#include "waveform/axistext.h"

#include <cmath>
#include <cstdio>

QString FormatAxisValue(double value, const QLocale& locale) {
    if (value == 0.0)
        return QStringLiteral("0"); // also for -0, which would otherwise show its sign
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
    // "%.15g" writes "1e+20" and "1e-05"; show the exponent as "1E20" and "1E-5".
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        const int exponent = text.mid(e + 1).toInt();
        text = text.left(e) + QLatin1Char('E') + QString::number(exponent);
    }
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

namespace {

// Moves `pos` past a run of ASCII digits; returns how many there were.
int SkipDigits(const QString& text, qsizetype& pos) {
    const qsizetype start = pos;
    while (pos < text.size() && text[pos] >= QLatin1Char('0') && text[pos] <= QLatin1Char('9'))
        ++pos;
    return static_cast<int>(pos - start);
}

bool IsSign(QChar c) {
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

} // namespace

bool ParseAxisValue(const QString& text, double& value, const QLocale& locale) {
    const QString separator = locale.decimalPoint();
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == QLatin1Char(' '))
        ++pos;
    // The number in the C form that QLocale::c() reads: sign, digits, '.', digits, exponent.
    QString plain;
    if (pos < text.size() && IsSign(text[pos]))
        plain += text[pos++];
    qsizetype start = pos;
    int digits = SkipDigits(text, pos);
    plain += text.mid(start, pos - start);
    if (!separator.isEmpty() && text.mid(pos, separator.size()) == separator) {
        pos += separator.size();
        plain += QLatin1Char('.');
        start = pos;
        const int fraction = SkipDigits(text, pos);
        plain += text.mid(start, pos - start);
        digits += fraction;
    }
    // A lone separator or sign is no number, even though no part is strictly required on its own.
    if (digits == 0)
        return false;
    if (pos < text.size() && (text[pos] == QLatin1Char('e') || text[pos] == QLatin1Char('E'))) {
        plain += QLatin1Char('e');
        ++pos;
        if (pos < text.size() && IsSign(text[pos]))
            plain += text[pos++];
        start = pos;
        if (SkipDigits(text, pos) == 0)
            return false;
        plain += text.mid(start, pos - start);
    }
    while (pos < text.size() && text[pos] == QLatin1Char(' '))
        ++pos;
    if (pos != text.size())
        return false;
    // The text is a well-formed number, so a failed conversion is out of range: an infinity for a
    // magnitude too large for a double (not a number), 0 for one too small (read as 0).
    bool ok = false;
    const double parsed = QLocale::c().toDouble(plain, &ok);
    if (!std::isfinite(parsed) || (!ok && parsed != 0.0))
        return false;
    value = parsed;
    return true;
}

AxisTextCheck CheckAxisTexts(const std::array<QString, 4>& texts, AxisLimits& limits, const QLocale& locale) {
    std::array<double, 4> v{};
    for (size_t i = 0; i < texts.size(); ++i)
        if (!ParseAxisValue(texts[i], v[i], locale))
            return AxisTextCheck::InvalidNumber;
    if (!(v[1] > v[0] && v[3] > v[2]))
        return AxisTextCheck::MaxNotLarger;
    limits = {v[0], v[1], v[2], v[3]};
    return AxisTextCheck::Valid;
}
