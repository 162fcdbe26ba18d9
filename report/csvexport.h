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

// Writes the bytes with WriteWholeFile (report/wholefile.h): any earlier file stays as it was unless
// the whole export is on disk; a failure throws EFileError naming the file.
void WriteCsvFile(const QString& fileName, const QByteArray& csv);
