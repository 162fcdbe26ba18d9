#pragma once
// Fixed-width number text shared by the test report and the CSV export.

#include <QChar>
#include <QLocale>
#include <QString>

// `value` rounded half away from zero to `decimals` places (at least one digit before the decimal
// separator, a minus sign only when the rounded value is not zero, no thousands separators), then
// cut from the right to `width` characters, a trailing full stop dropped, and padded with spaces at
// the front: always exactly `width` characters. When `decimals` exceeds `width` the value's general
// text (up to 15 significant digits) is cut and padded the same way. The decimal separator is the
// locale's. A value that is not finite cannot come from a record; it is shown as 0 so that no field
// ever holds text that is not a number.
QString FormatField(double value, int width, int decimals, const QLocale& locale = QLocale());

// The device information as the report shows it: 24 underscores for an empty text, otherwise the
// text with spaces appended up to 24 characters (longer texts are kept whole).
QString PadInfo(const QString& text);

// The locale's decimal separator as one character; a full stop for a locale whose separator is not
// a single character.
QChar DecimalSeparator(const QLocale& locale);

// The character-level form of FormatField for builders that write whole lines into preallocated
// 8-bit buffers: writes exactly `width` characters to out, with `separator` as the decimal separator.
// Only a full stop is dropped when the cut leaves it at the end.
void FormatFieldChars(char* out, double value, int width, int decimals, char separator);

// The separator to hand to FormatFieldChars for a locale: its own when it is a Latin-1 character,
// otherwise a comma that the caller replaces after widening the text.
char Latin1Separator(QChar separator);
