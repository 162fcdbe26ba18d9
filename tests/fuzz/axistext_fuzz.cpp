// Fuzz target: the axis dialog's number texts. The first byte picks the locale (C, German, French,
// Arabic); the next eight, taken as a double's bits, are a value to format; the rest is UTF-8 text
// whose first four lines are the dialog's four boxes.
//
// Checks: a parsed value is finite; its text (FormatAxisValue) parses again (up to 1e308, see
// LargestShown), to the value rounded to 15 significant digits, and that text and value then stay
// as they are on every further round; a
// typed number of at most 15 significant digits comes back exactly; CheckAxisTexts is Valid exactly
// when all four texts parse and each maximum is larger than its minimum, and writes the limits only
// then.
#include "tests/fuzz/fuzzcheck.h"
#include "tests/fuzz/fuzzinput.h"
#include "waveform/axistext.h"

#include <QLocale>
#include <QStringList>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

const QLocale& PickLocale(uint8_t choice) {
    static const std::array<QLocale, 4> Locales{QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                                QLocale(QLocale::French, QLocale::France),
                                                QLocale(QLocale::Arabic, QLocale::Egypt)};
    return Locales[choice % Locales.size()];
}

// Significant digits of a text that parsed: the mantissa's digits without leading and trailing zeros.
int SignificantDigits(const QString& text) {
    QString digits;
    for (QChar c : text) {
        if (c == QLatin1Char('e') || c == QLatin1Char('E'))
            break;
        if (c.isDigit() && c.unicode() < 128)
            digits += c;
    }
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    return static_cast<int>(digits.size());
}

// Values up to this magnitude come back from their text. The text of a value within 15 digits of
// the largest double is beyond it ("1.79769313486232E308") and so no number; the chart never holds
// such a value (its axes take no range beyond 1e250), so the dialog never shows one.
constexpr double LargestShown = 1e308;

// The text of a finite value parses to the value within the 15 digits shown, and is then stable.
void CheckFormat(double value, const QLocale& locale) {
    const QString text = FormatAxisValue(value, locale);
    FuzzCheck(!HasNonFiniteText(text), "an axis text holds nan or inf");
    if (std::fabs(value) > LargestShown)
        return;
    double shown = 0.0;
    FuzzCheck(ParseAxisValue(text, shown, locale), "the text of a value parses");
    FuzzCheck(std::fabs(shown - value) <= 5.5e-15 * std::fabs(value) + DBL_TRUE_MIN,
              "the text is the value to 15 digits");
    double again = 0.0;
    FuzzCheck(FormatAxisValue(shown, locale) == text && ParseAxisValue(text, again, locale) && again == shown,
              "a shown value formats and parses to itself");
}

void CheckText(const QString& text, const QLocale& locale) {
    double value = 0.0;
    if (!ParseAxisValue(text, value, locale))
        return;
    FuzzCheck(std::isfinite(value), "a parsed value is finite");
    CheckFormat(value, locale);
    if (SignificantDigits(text) <= 15 && (value == 0.0 || std::fabs(value) >= DBL_MIN)) {
        double back = 0.0;
        FuzzCheck(ParseAxisValue(FormatAxisValue(value, locale), back, locale) && back == value,
                  "a number of at most 15 digits comes back exactly");
    }
}

void CheckDialog(const std::array<QString, 4>& texts, const QLocale& locale) {
    const AxisLimits untouched{-1.5, 2.5, -3.5, 4.5};
    AxisLimits limits = untouched;
    const AxisTextCheck check = CheckAxisTexts(texts, limits, locale);
    std::array<double, 4> v{};
    bool numbers = true;
    for (size_t i = 0; i < texts.size(); ++i)
        numbers = ParseAxisValue(texts[i], v[i], locale) && numbers;
    const AxisTextCheck expected = !numbers                       ? AxisTextCheck::InvalidNumber
                                   : (v[1] > v[0] && v[3] > v[2]) ? AxisTextCheck::Valid
                                                                  : AxisTextCheck::MaxNotLarger;
    FuzzCheck(check == expected, "the dialog's check");
    if (check == AxisTextCheck::Valid)
        FuzzCheck(limits.timeMin == v[0] && limits.timeMax == v[1] && limits.currentMin == v[2] &&
                      limits.currentMax == v[3] && limits.timeMax > limits.timeMin &&
                      limits.currentMax > limits.currentMin,
                  "valid limits are the texts' values");
    else
        FuzzCheck(std::memcmp(&limits, &untouched, sizeof limits) == 0, "limits are written only when valid");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const QLocale& locale = PickLocale(in.Byte());
    const QByteArray bits = in.Bytes(sizeof(double));
    if (bits.size() == sizeof(double)) {
        double value = 0.0;
        std::memcpy(&value, bits.constData(), sizeof value);
        if (std::isfinite(value))
            CheckFormat(value, locale);
    }
    const QStringList lines = QString::fromUtf8(in.Rest()).split(QLatin1Char('\n'));
    std::array<QString, 4> texts;
    for (size_t i = 0; i < texts.size() && i < static_cast<size_t>(lines.size()); ++i) {
        texts[i] = lines[static_cast<qsizetype>(i)];
        CheckText(texts[i], locale);
    }
    CheckDialog(texts, locale);
    return 0;
}
