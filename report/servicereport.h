#pragma once
// The service report of a test as one PDF document, the paper a technician files: the device and the
// test, every result of the report's results section for every tested load, the verdict when the test
// is checked against a profile, the waveforms as vector graphics, lines for the technician's name,
// signature and date, and on every page its number and the record's SHA-256, which ties the paper to
// one record file. A record of the simulated analyzer is marked so on every page. The report viewer's
// Export PDF and zrqtool pdf write the same document.
//
// This header is Qt Core only; drawing needs a QApplication, since the charts are the waveform
// viewer's chart widget rendered onto the page.

#include "records/tzrtestrec.h"
#include "verdict/verdictchoice.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>

// Letter paper for the territories that use it (the United States, Canada, Mexico and others of the
// Americas, the Philippines), A4 elsewhere.
bool UsesLetterPaper(const QLocale& locale);

// The marking of a record made by the simulated analyzer.
extern const QString SimulatedAnalyzerMark; // "SIMULATED ANALYZER: not a test of a real device"

// The document's bytes. Numbers, dates and the paper follow `locale`; the results are the report's
// own texts (BuildReportLines in the same locale).
QByteArray BuildServiceReportPdf(const TZRTestRec& rec, const std::optional<TVerdictBasis>& verdict,
                                 const QLocale& locale = QLocale());
// The same in the program's locale, as the maintenance system's hand-off draws it
// (InstallServiceReportDrawer, library/handoff.h).
QByteArray DrawServiceReport(const TZRTestRec& rec, const std::optional<TVerdictBasis>& verdict);

// Writes the document with WriteWholeFile: any earlier file stays as it was unless the whole document
// is on disk. Throws EFileError naming the file.
void SaveServiceReportPdf(const QString& fileName, const TZRTestRec& rec,
                          const std::optional<TVerdictBasis>& verdict, const QLocale& locale = QLocale());
