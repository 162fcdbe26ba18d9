#pragma once
// The trend chart of the Test Library window, on QCustomPlot and styled like the waveform viewer's
// chart: the delivered energy (J) of each load across one device's tests against the date of each
// test, one line per load with the load's name in the legend, and for each load with a declared
// energy at the chosen setting a dashed line at that energy inside a shaded band of its tolerance.

#include "libraryview/trenddata.h"

#include <qcustomplot.h>

class TTrendChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TTrendChart(QWidget* parent = nullptr);

    // Draws the trend of the device `deviceId`, checked against `settingText` (shown in the title).
    void ShowTrend(const QString& deviceId, const QString& settingText, const std::vector<TTrendLoad>& trend);
    // Draws nothing.
    void Clear();

private:
    QCPGraph* AddGraph(const QPen& pen, const QString& name, bool inLegend);

    QCPTextElement* m_title = nullptr;
};
