#pragma once
// The line chart of the waveform viewer, on QCustomPlot: current (A) against time (msec), one line
// per load, with a two-line title and a legend. It adds what the viewer relies on: axes that are
// automatic (spanning the data) or fixed, zoom by percentage about the centre animated in four
// steps, Undo Zoom back to the view before the first zoom or pan, panning or rectangle zoom with the
// left button, data-point markers, the current under the mouse as a hint, and printing.

#include "waveform/chartlimits.h"
#include "waveform/waveseries.h"

#include <QTimer>
#include <qcustomplot.h>
#include <vector>

class QPrinter;

class TWaveChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TWaveChart(QWidget* parent = nullptr);

    // Adds a line series (markers hidden unless data points are shown) and returns its position.
    int AddSeries(const QString& title, const QColor& colour, WaveSeriesData points);
    int SeriesCount() const { return static_cast<int>(m_series.size()); }
    // The series' largest and smallest current (0 .. 0 for a series without points).
    AxisRange SeriesValueRange(int series) const;

    void SetTitleLines(const QStringList& lines);
    QStringList TitleLines() const;
    // Shows or hides the legend; hidden, it leaves its room to the plot.
    void SetLegendVisible(bool visible);

    void SetDataPointsVisible(bool visible);
    bool DataPointsVisible() const { return m_dataPoints; }

    // The axes as they are now (a zoom in progress is finished first).
    ChartAxesState AxesState();
    // Fixed limits for the time or current axis (swapped when min > max). Not a zoom: Undo Zoom does
    // not return to the view before them.
    void SetTimeAxis(AxisRange range);
    void SetCurrentAxis(AxisRange range);
    void SetTimeAxisAutomatic();

    // Zooms about the centre of the view: 110 in, 90 out. Both axes become fixed. Animated.
    void ZoomPercent(double percent);
    // Zooms to a rectangle given in widget pixels. Animated.
    void ZoomToPixels(const QRect& rect);
    // Returns every axis to its state before the first zoom or pan since the chart was created or last
    // undid a zoom; nothing changes when there was none.
    void UndoZoom();
    bool IsZoomed() const { return m_history.IsZoomed(); }
    // Jumps to the end of a zoom animation in progress.
    void FinishAnimation();
    bool IsAnimating() const { return m_animation.has_value(); }

    // Left-button drags: rectangle zoom when on, panning in both directions when off.
    void SetRectangleZoom(bool on);
    bool RectangleZoom() const { return m_rectangleZoom; }

    // The first series (in chart order) whose line or a data point lies under `pos`, or -1.
    int SeriesAt(const QPoint& pos) const;
    // The current at a vertical position of the chart, as the hint shows it ("1,234.5").
    QString CurrentTextAt(const QPoint& pos) const;

    // Prints the chart alone on one landscape page, inside 200 printer pixels of the page's edges;
    // the printer is left in portrait orientation.
    void Print(QPrinter& printer);
    // Draws the chart as vector graphics into `target`, in device pixels of an untransformed painter
    // (a printer's or a PDF writer's): laid out at screen size and scaled to the target, so that
    // text, lines and ticks keep the proportions they have on the screen.
    void Render(QPainter& painter, const QRect& target);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Animation {
        AxisRange fromTime, toTime, fromCurrent, toCurrent;
        int step = 0;
    };

    void ApplyState(const ChartAxesState& state);
    void SetAxisRange(QCPAxis* axis, AxisRange range);
    void RescaleAutomaticAxes();
    void AnimateTo(AxisRange time, AxisRange current);
    void StepAnimation();
    void RectangleDragged(const QRect& rect);
    void UpdateReadout(const QPoint& pos);
    void SetIdleCursor();

    std::vector<WaveSeriesData> m_series;
    QCPTextElement* m_title = nullptr;
    QCPLayoutGrid* m_legendColumn = nullptr;
    bool m_timeAutomatic = true;
    bool m_currentAutomatic = true;
    bool m_dataPoints = false;
    bool m_rectangleZoom = false;
    ZoomHistory m_history;
    std::optional<Animation> m_animation;
    QTimer m_stepTimer;
    // The axes when the left button went down for a pan; noted as the undo view once the pan moves them.
    std::optional<ChartAxesState> m_panStart;
};
