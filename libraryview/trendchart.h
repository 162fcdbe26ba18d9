#pragma once
// The trend chart of the Test Library window, on QCustomPlot and styled like the waveform viewer's
// chart: the delivered energy (J) of each load drawn (one, or all) across one device's tests against
// the date of each test. Each load has a line in its own colour, named in the legend, broken where a
// test lacks the load and leaving out the tests checked at another energy; each test's point shows the
// load's own
// verdict (a filled disc for a pass, a red cross for a failure, a hollow circle where nothing was
// judged), a point at another energy than the chart's is boxed, and each kind of marker drawn has an
// entry in the legend. A dash-dotted line at a test's date marks a change of analyzer. For each load
// with a declared energy at the chart's setting, a dashed line at that energy lies inside a shaded
// band of its tolerance. A point's tool tip tells its test.

#include "libraryview/trenddata.h"

#include <qcustomplot.h>

class TTrendChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TTrendChart(QWidget* parent = nullptr);

    // Draws `trend`, of the device `deviceId` checked against `settingText` (shown in the title);
    // `emptyText` is what the chart says when the trend has no point.
    void ShowTrend(const QString& deviceId, const QString& settingText, TTrend trend,
                   const QString& emptyText);
    // Draws nothing.
    void Clear();
    // The tool tip at `pixel`: the text of the point nearest it within a few pixels, else nothing.
    QString TipAt(const QPoint& pixel) const;

protected:
    bool event(QEvent* event) override;

private:
    QCPGraph* AddGraph(const QPen& pen, const QString& name, bool inLegend);
    void DrawBands(const QVector<double>& span);
    void DrawLoads();
    void DrawLegendMarks();
    void DrawAnalyzerChanges();
    void SayEmpty(const QString& text);

    QCPTextElement* m_title = nullptr;
    TTrend m_trend;
};
