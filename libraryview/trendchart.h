#pragma once
// The trend chart of the Test Library window, on QCustomPlot and styled like the waveform viewer's
// chart: the delivered energy (J) of each load across one device's tests against the date of each
// test, one line per load with the load's name in the legend, and for each load with a declared
// energy at the chosen setting a dashed line at that energy inside a shaded band of its tolerance.

#include "libraryview/trenddata.h"

#include <array>
#include <qcustomplot.h>

class TTrendChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TTrendChart(QWidget* parent = nullptr);

    // The graphs drawn for one load; all null for a load not drawn, the last three null for a load
    // without a declared energy.
    struct LoadGraphs {
        QCPGraph* energy = nullptr;
        QCPGraph* declared = nullptr;
        QCPGraph* low = nullptr;  // declared - limit
        QCPGraph* high = nullptr; // declared + limit, filled down to `low`
    };

    // Draws the trend of the device `deviceId`, checked against `settingText` (shown in the title).
    void ShowTrend(const QString& deviceId, const QString& settingText, const std::vector<TTrendLoad>& trend);
    // Draws nothing.
    void Clear();

    const LoadGraphs& Graphs(int load) const { return m_loads.at(static_cast<size_t>(load)); }
    QStringList TitleLines() const;

private:
    QCPGraph* AddGraph(const QPen& pen, const QString& name, bool inLegend);

    QCPTextElement* m_title = nullptr;
    std::array<LoadGraphs, 7> m_loads{};
};
