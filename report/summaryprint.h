#pragma once
// The printed summary of a report: its first 34 lines in a fixed-pitch font, inside margins of 200
// printer pixels at the left, top and right, continuing on a new page when one is full.

#include <QStringList>

class QPrinter;

constexpr int SUMMARY_LINE_COUNT = 34;
constexpr int SUMMARY_MARGIN = 200;

// The text whose height sets the line spacing: every letter, the digits 1 to 9 and 31 punctuation marks.
extern const QString SummaryLineSample;

// Prints on a printer the user has chosen; a line the report does not have prints empty.
void PrintSummary(QPrinter& printer, const QStringList& reportLines);
