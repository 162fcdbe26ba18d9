#pragma once
// The fixed-width text report of a test: the header with the test's identity, the corrected results
// with one 5-character column per load, and every waveform sample in amperes.

#include "records/tzrtestrec.h"
#include "report/loadresultstable.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>

constexpr int REPORT_LINE_COUNT = 5167;
// The header and the results section: the report's lines before its waveform samples.
constexpr int REPORT_SUMMARY_LINE_COUNT = 42;
// Every results and waveform line: a 25-character label or time column and seven 5-character cells
// separated by two spaces.
constexpr int REPORT_TABLE_LINE_WIDTH = 72;

// The report's 5167 lines. The month name and the decimal separator come from the locale.
QStringList BuildReportLines(const TZRTestRec& rec, const TLoadResultsTable& table,
                             const QLocale& locale = QLocale());

// A text taken from a record as the report shows it: control characters (which a file can hold but
// the device information editor never writes) become '?', so that they can neither break a report
// line in two nor reach a terminal as commands.
QString PrintableText(const QString& text);

// One line of the report's results section as a table row: the label and each load's cell as the
// report writes them, without their padding (a load without data has an empty cell). A heading
// ("--- FIRST PHASE ---") has a label and no figures; an empty line has neither.
struct ReportResultRow {
    QString label;
    bool heading = false;
    std::array<QString, LOAD_COUNT> cells;
};

// The rows of the results section, taken from the report's own lines, so that a document showing
// them shows exactly the figures of the report.
QList<ReportResultRow> ReportResultRows(const QStringList& reportLines);
