#pragma once
// Texts of the waveform viewer: the measurement panel's rows, the current read-out, the chart title
// and the series colours.

#include "records/loadresults.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <span>

// A number with a fixed count of decimals, rounded half away from zero, with the locale's decimal
// separator and no thousands separators: 2 for the pattern "0.00", 1 for "0.0", 0 for "0." (no
// separator at all). A result that rounds to zero carries no minus sign. The report's numbers
// follow the same rule.
QString FormatDecimals(double value, int decimals, const QLocale& locale = QLocale());

// The current under the mouse as the current axis labels its ticks ("#,##0.###"): thousands
// separators, up to three decimals, no trailing zeros.
QString FormatCurrentReadout(double value, const QLocale& locale = QLocale());

// One row of the measurement panel. Headings have no value label.
struct WaveDetailRow {
    const char* caption;    // "Total Energy:"
    const char* valueLabel; // "lblEnergy"; nullptr for the underlined phase headings
    int decimals;
    const char* unit; // " J"
    float (*value)(const TLoadResults&);
};

// The 20 rows of the panel, top to bottom.
std::span<const WaveDetailRow> WaveDetailRows();

// The text of a row's value label for one load's results ("150.25 J").
QString WaveDetailText(const WaveDetailRow& row, const TLoadResults& results,
                       const QLocale& locale = QLocale());

// The two title lines of the chart: "Device ID: " + the device ID, then the test's date and time.
QStringList ChartTitleLines(const QString& deviceId, const QString& dateText);

struct SeriesRgb {
    int r, g, b;
};
constexpr int SERIES_PALETTE_SIZE = 7;
// The colour of the series at `position` (0 for the first series of the chart). The colour follows
// the position, not the load; positions past the palette take its first colour.
SeriesRgb SeriesColour(int position);
