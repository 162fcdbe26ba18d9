#pragma once
// The fonts the windows are designed with, falling back to close relatives that Linux has.

#include <QFont>

// Tahoma at the given point size (the windows' font), or a plain sans-serif when it is missing.
QFont WindowFont(int pointSize = 8);
// A fixed-pitch font in the manner of Courier New, for the report memo and its printout.
QFont ReportFont(int pointSize = 10);
