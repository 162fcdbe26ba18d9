#pragma once
// Checks of what the waveform viewer computes for one load of any record: the series points, the
// current axis that fits them, the hit test of the mouse on the drawn line, the current read-out and
// the measurement panel's texts. A failed check aborts (fuzzcheck.h).

#include "records/loadresults.h"

#include <QString>

void CheckViewerOfLoad(const TZRTest& test, const TLoadResults& results);

// The chart title for the record's device ID and date text.
void CheckChartTitle(const QString& deviceId, const QString& dateText);
