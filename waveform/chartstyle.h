#pragma once
// The look the program's charts share (on QCustomPlot): a white background, a title above the plot
// in navy, the legend at the top of a column of its own to the right of the plot, the window font on
// the axes and the legend, and a black value axis with a dotted silver sub-grid. Each chart adds its
// own axis labels, tickers and interactions.

#include <qcustomplot.h>

// What a chart may change after styling: its title (empty until the chart sets it) and the column
// that holds the legend.
struct TChartParts {
    QCPTextElement* title = nullptr;
    QCPLayoutGrid* legendColumn = nullptr;
};

// Lays out and styles `plot`.
TChartParts StyleChart(QCustomPlot& plot);
