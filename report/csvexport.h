#pragma once
// The CSV export of a test: the main corrected results and all seven waveforms, every field quoted,
// 8-bit text with CR LF after every line (the last one too).

#include "report/loadresultstable.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

constexpr int CSV_LINE_COUNT = 5133;

// The whole file. Loads without data are exported from their all-zero rows of the table, so no field
// is ever empty. Numbers use the locale's decimal separator (a full stop when it is not Latin-1).
QByteArray BuildCsv(const TLoadResultsTable& table, const QLocale& locale = QLocale());

// Writes bytes to fileName through a temporary file that replaces it only once everything is on
// disk, so a failure leaves any earlier file as it was and no half-written one. Returns an empty
// text on success, otherwise a one-line message for the user that names the file.
QString SaveCsvFile(const QString& fileName, const QByteArray& csv);
