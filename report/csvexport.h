#pragma once
// The CSV export of a test: the main corrected results and all seven waveforms, every field quoted,
// 8-bit text with CR LF after every line (the last one too).

#include "records/tzrtestrec.h"
#include "report/loadresultstable.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

constexpr int CSV_LINE_COUNT = 5133;

// The whole file, from the table of the record's results. A load without data exports zeros, so no
// field is ever empty. Numbers use the locale's decimal separator (a full stop when it is not
// Latin-1).
QByteArray BuildCsv(const TZRTestRec& rec, const TLoadResultsTable& table, const QLocale& locale = QLocale());

// Writes the bytes to fileName through a temporary file that replaces it only once everything is on
// disk, so a failure leaves any earlier file as it was and no half-written one. Throws EFileError
// with a one-line message that names the file ("Cannot create file ...", "Cannot write file ...").
void WriteCsvFile(const QString& fileName, const QByteArray& csv);
