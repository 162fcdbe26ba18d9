#pragma once
// The printed summary of a report: the report through the end of its results and, when the record
// is checked against a profile, the verdict line, in a fixed-pitch font inside margins of 200 printer
// pixels at the left, top and right, continuing on a new page when one is full.

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <QStringList>
#include <optional>

class QPrinter;

constexpr int SUMMARY_MARGIN = 200;

// The text whose height sets the line spacing: every letter, the digits 1 to 9 and 31 punctuation marks.
extern const QString SummaryLineSample;

// The lines the summary prints: the report's header and results (the waveform samples are left to
// the file) and, for a record checked against `basis`, an empty line and the verdict line as the
// verdict panel shows it, broken between words to the report's width.
QStringList SummaryLines(const QStringList& reportLines, const TZRTestRec& rec,
                         const std::optional<TVerdictBasis>& basis);

// Prints on a printer the user has chosen.
void PrintSummary(QPrinter& printer, const QStringList& lines);
