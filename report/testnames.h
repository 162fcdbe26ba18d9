#pragma once
// The names under which a technician finds a test again: the file name its save dialogs suggest
// and the caption of the report viewer that shows it, both made of the Device ID and the test's date.

#include "records/tzrtestrec.h"

#include <QLocale>
#include <QString>

// `text` as a part of a file name on any system: letters, digits, "-", "_" and "." are kept, every
// other run of characters (spaces, slashes, colons, ...) becomes one "_", and "_" and "." at either
// end are dropped. "DEF 0042/A" -> "DEF_0042_A".
QString FileNameSafe(const QString& text);

// The name the save dialogs suggest, without extension: the Device ID and the test's date and time,
// "DEF-0042_2026-12-09_0930". Either part is left out when the record has none (no Device ID, a date
// stamp that is not a date); empty when both are.
QString SuggestedFileStem(const TZRTestRec& rec);

// "CorvexZR Test Report Viewer - DEF-0042, Dec 9, 2026": the designed caption, then the Device ID and
// the test's date (left out when it is not a date); the designed caption alone without a Device ID.
QString ReportViewerCaption(const TZRTestRec& rec, const QLocale& locale = QLocale());
