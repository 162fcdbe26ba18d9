#pragma once
// The texts of the chart axis dialog: axis limits shown as numbers and the numbers the user types,
// both with the locale's decimal separator.

#include <QLocale>
#include <QString>
#include <array>

// The four limits the dialog edits, in the order of its boxes.
struct AxisLimits {
    double timeMin = 0.0;
    double timeMax = 0.0;
    double currentMin = 0.0;
    double currentMax = 0.0;
};

// The shortest text with at most 15 significant digits and no trailing zeros; an exponent ("1E20",
// "1E-5") only for very large or very small magnitudes.
QString FormatAxisValue(double value, const QLocale& locale = QLocale());

// Reads a typed number: optional spaces, an optional sign, digits with the locale's decimal separator
// (digits on either side may be missing, but not all of them), an optional exponent ("E" or "e",
// optional sign, digits) and optional spaces. Empty texts and values beyond the range of a double are
// not numbers.
bool ParseAxisValue(const QString& text, double& value, const QLocale& locale = QLocale());

enum class AxisTextCheck { Valid, InvalidNumber, MaxNotLarger };

// Checks the four texts of the dialog: every one must be a number, then each maximum must be strictly
// larger than its minimum. `limits` is written only when the result is Valid.
AxisTextCheck CheckAxisTexts(const std::array<QString, 4>& texts, AxisLimits& limits,
                             const QLocale& locale = QLocale());
