#pragma once
// The parts of the service report (report/servicereport.h), each a block or a run of blocks of the
// page flow (report/pdfcanvas.h).

#include "records/tzrtestrec.h"
#include "report/pdfcanvas.h"
#include "verdict/verdictchoice.h"

#include <QLocale>
#include <QStringList>
#include <optional>
#include <vector>

// The colours of the document: headings, captions, table rules and shading.
extern const QColor PdfNavy;
extern const QColor PdfGrey;
extern const QColor PdfRule;
extern const QColor PdfShade;

// A section's heading at the top of `box`, 11 pt bold with a rule under it; returns its height.
double DrawSectionHeading(const TPdfCanvas& canvas, const QRectF& box, const QString& title);

// The title, then the device under test and the test (analyzer ID, date and time).
TPdfBlock ReportHeaderBlock(const TZRTestRec& rec, const QLocale& locale);
// The results section of the report (its own texts, `reportLines`) for every tested load.
TPdfBlock ResultsTableBlock(const TZRTestRec& rec, const QStringList& reportLines);
// The verdict table and the overall verdict; without a profile, a line saying that none was chosen.
TPdfBlock VerdictBlock(const TZRTestRec& rec, const std::optional<TVerdictBasis>& verdict,
                       const QLocale& locale);
// Lines for the technician's name, signature and date.
TPdfBlock SignatureBlock();
// Every tested load on one chart, then one small chart per load, on a new page; the axes' numbers in
// the locale.
std::vector<TPdfBlock> WaveformBlocks(const TZRTestRec& rec, const QLocale& locale);
