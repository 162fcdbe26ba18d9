#pragma once
// What a report viewer holds, read as its user meets it: the report it shows, whether closing it
// would ask to save, and the waveform viewers it has open.

#include "report/loadresultstable.h"
#include "report/reportlines.h"
#include "report/testreportviewer.h"
#include "tests/support/findchild.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "waveform/waveformviewer.h"

#include <QApplication>
#include <QLocale>
#include <QPlainTextEdit>

inline QStringList ShownReportLines(const TTestReportViewer& viewer) {
    return Child<QPlainTextEdit>(viewer, "txtTestReport")->toPlainText().split(QLatin1Char('\n'));
}

// The report a viewer shows of a record's bytes: the report ties the viewer to those bytes.
inline QStringList ReportLinesOf(const QByteArray& bytes) {
    const auto rec = RecordFromBytes(bytes);
    return BuildReportLines(*rec, ComputeLoadResultsTable(*rec), QLocale());
}

// The viewer's test counts as saved when closing it asks nothing. The question, if any, goes to boxes
// of its own (the test's boxes and answers are left as they were) and is cancelled.
inline bool Saved(TTestReportViewer& viewer) {
    ScriptedMessages asked;
    asked.Answer({mrCancel});
    viewer.CloseQuery();
    return asked.Shown().isEmpty();
}

// The waveform viewers shown, of any opener.
inline QList<TWaveformViewer*> ShownWaveViewers() {
    QList<TWaveformViewer*> viewers;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<TWaveformViewer*>(window); viewer && viewer->isVisible())
            viewers.append(viewer);
    return viewers;
}
