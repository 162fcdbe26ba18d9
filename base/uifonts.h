#pragma once
// The fonts the windows are designed with: Tahoma and Courier New, else the Debian fonts with their
// metrics (Wine's Tahoma, Liberation Mono), else close relatives.

#include <QFont>

// Tahoma at the given point size (the windows' font), or a plain sans-serif when it is missing.
QFont WindowFont(int pointSize = 8);
// A fixed-pitch font in the manner of Courier New, for the report memo and its printout.
QFont ReportFont(int pointSize = 10);
