// The waveform chart: automatic and fixed axes, animated zoom and Undo Zoom, panning and rectangle
// zoom with real mouse events, data-point markers, the read-out under the mouse and printing.
#include "waveform/wavechart.h"

#include "tests/waveform/chartevents.h"
#include "tests/support/pdftools.h"
#include "waveform/wavetexts.h"

#include "tests/support/qtprinters.h"
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A triangle from 0 A up to 40 A at 10 msec and down to -20 A at 30 msec, back to 0 at 58 msec.
WaveSeriesData Triangle(double scale = 1.0) {
    WaveSeriesData d;
    for (int i = 0; i <= 580; ++i) {
        const double t = i * 0.1;
        const double v = t <= 10 ? 4 * t : t <= 30 ? 40 - 3 * (t - 10) : -20 + 20 * (t - 30) / 28;
        d.keys << t;
        d.values << v * scale;
    }
    return d;
}

class Chart : public ::testing::Test {
protected:
    Chart() {
        chart.resize(640, 420);
        chart.AddSeries(QStringLiteral("25 ohms"), Qt::darkBlue, Triangle());
        chart.show();
        chart.replot();
    }

    AxisRange Time() { return chart.AxesState().bottom.range; }
    AxisRange Current() { return chart.AxesState().left.range; }
    // A point inside the plot area, `fx` and `fy` of the way across and down.
    QPoint Inside(double fx, double fy) const {
        const QRect r = chart.axisRect()->rect();
        return {r.left() + static_cast<int>(r.width() * fx), r.top() + static_cast<int>(r.height() * fy)};
    }
    void SetView() {
        chart.SetTimeAxis({0.0, 50.0});
        chart.SetCurrentAxis({-50.0, 50.0});
        chart.replot();
    }

    TWaveChart chart;
};

} // namespace

TEST_F(Chart, AutomaticAxesSpanTheData) {
    const ChartAxesState s = chart.AxesState();
    EXPECT_TRUE(s.bottom.automatic);
    EXPECT_TRUE(s.left.automatic);
    EXPECT_DOUBLE_EQ(s.bottom.range.min, 0.0);
    EXPECT_DOUBLE_EQ(s.bottom.range.max, 58.0);
    EXPECT_DOUBLE_EQ(s.left.range.min, -20.0);
    EXPECT_DOUBLE_EQ(s.left.range.max, 40.0);
    EXPECT_EQ(chart.SeriesValueRange(0), (AxisRange{-20.0, 40.0}));
}

TEST_F(Chart, FixedLimitsAreSwappedWhenGivenBackwards) {
    chart.SetCurrentAxis({5.0, -5.0});
    EXPECT_EQ(Current(), (AxisRange{-5.0, 5.0}));
    EXPECT_FALSE(chart.AxesState().left.automatic);
    EXPECT_TRUE(chart.AxesState().bottom.automatic);
}

TEST_F(Chart, ZoomInAndOutAboutTheCentreInFourSteps) {
    SetView();
    chart.ZoomPercent(110);
    EXPECT_TRUE(chart.IsAnimating());
    EXPECT_EQ(chart.xAxis->range().lower, 1.25); // the first of four steps is drawn at once
    EXPECT_EQ(chart.xAxis->range().upper, 48.75);
    chart.FinishAnimation();
    EXPECT_FALSE(chart.IsAnimating());
    EXPECT_EQ(Time(), (AxisRange{5.0, 45.0}));
    EXPECT_EQ(Current(), (AxisRange{-40.0, 40.0}));

    SetView();
    chart.ZoomPercent(90);
    EXPECT_EQ(Time(), (AxisRange{-5.0, 55.0})); // reading the axes finishes the animation
    EXPECT_EQ(Current(), (AxisRange{-60.0, 60.0}));
    EXPECT_FALSE(chart.AxesState().bottom.automatic);
}

TEST_F(Chart, ZoomingAgainStartsFromTheEndOfTheLastZoom) {
    SetView();
    chart.ZoomPercent(110);
    chart.ZoomPercent(110);
    EXPECT_EQ(Time(), (AxisRange{9.0, 41.0}));
}

TEST_F(Chart, UndoZoomReturnsToTheViewBeforeTheFirstZoom) {
    chart.ZoomPercent(110);
    chart.ZoomPercent(90);
    EXPECT_TRUE(chart.IsZoomed());
    chart.UndoZoom();
    EXPECT_FALSE(chart.IsZoomed());
    const ChartAxesState s = chart.AxesState();
    EXPECT_TRUE(s.bottom.automatic);
    EXPECT_TRUE(s.left.automatic);
    EXPECT_EQ(s.bottom.range, (AxisRange{0.0, 58.0}));
}

TEST_F(Chart, UndoAfterAHandSetAxisAndAZoomReturnsToTheHandSetLimits) {
    SetView();
    chart.ZoomPercent(110);
    chart.ZoomPercent(110);
    chart.UndoZoom();
    EXPECT_EQ(Time(), (AxisRange{0.0, 50.0}));
    EXPECT_EQ(Current(), (AxisRange{-50.0, 50.0}));
    EXPECT_FALSE(chart.AxesState().bottom.automatic);

    // Nothing zoomed since: nothing to undo, the hand-set view stays.
    chart.SetTimeAxis({10.0, 20.0});
    chart.UndoZoom();
    EXPECT_EQ(Time(), (AxisRange{10.0, 20.0}));
}

TEST_F(Chart, PanningWithTheLeftButtonMovesBothAxesAndCanBeUndone) {
    SetView();
    const QPoint from = Inside(0.5, 0.5);
    const QPoint to = from + QPoint(-80, 40);
    const double dx = chart.xAxis->pixelToCoord(from.x()) - chart.xAxis->pixelToCoord(to.x());
    const double dy = chart.yAxis->pixelToCoord(from.y()) - chart.yAxis->pixelToCoord(to.y());
    LeftDrag(&chart, from, to);
    EXPECT_NEAR(Time().min, 0.0 + dx, 1e-9);
    EXPECT_NEAR(Time().max, 50.0 + dx, 1e-9);
    EXPECT_NEAR(Current().min, -50.0 + dy, 1e-9);
    EXPECT_TRUE(chart.IsZoomed());

    LeftDrag(&chart, from, from + QPoint(30, 0)); // a second pan keeps the first view to undo to
    chart.UndoZoom();
    EXPECT_EQ(Time(), (AxisRange{0.0, 50.0}));
    EXPECT_EQ(Current(), (AxisRange{-50.0, 50.0}));
}

TEST_F(Chart, PanningAnAutomaticViewFixesItAndUndoMakesItAutomaticAgain) {
    LeftDrag(&chart, Inside(0.5, 0.5), Inside(0.3, 0.5));
    EXPECT_FALSE(chart.AxesState().bottom.automatic);
    chart.UndoZoom();
    EXPECT_TRUE(chart.AxesState().bottom.automatic);
    EXPECT_EQ(Time(), (AxisRange{0.0, 58.0}));
}

TEST_F(Chart, RightButtonDragsNeitherPanNorZoom) {
    SetView();
    const QPoint from = Inside(0.5, 0.5);
    SendMouse(&chart, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
    SendMouse(&chart, QEvent::MouseMove, from + QPoint(100, 50), Qt::NoButton, Qt::RightButton);
    SendMouse(&chart, QEvent::MouseButtonRelease, from + QPoint(100, 50), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(Time(), (AxisRange{0.0, 50.0}));
    EXPECT_FALSE(chart.IsZoomed());
}

TEST_F(Chart, RectangleDragTowardsTheLowerRightZoomsToIt) {
    SetView();
    chart.SetRectangleZoom(true);
    const QPoint from = Inside(0.2, 0.3);
    const QPoint to = from + QPoint(120, 90);
    const AxisRange time{chart.xAxis->pixelToCoord(from.x()), chart.xAxis->pixelToCoord(to.x())};
    const AxisRange current{chart.yAxis->pixelToCoord(to.y()), chart.yAxis->pixelToCoord(from.y())};
    LeftDrag(&chart, from, to);
    EXPECT_TRUE(chart.IsAnimating());
    EXPECT_EQ(Time(), time);
    EXPECT_EQ(Current(), current);
    EXPECT_TRUE(chart.IsZoomed());
}

TEST_F(Chart, RectangleDragInAnyOtherDirectionUndoesTheZoom) {
    chart.SetRectangleZoom(true);
    const QPoint centre = Inside(0.5, 0.5);
    for (const QPoint direction : {QPoint(-1, -1), QPoint(1, -1), QPoint(-1, 1)}) {
        SetView();
        chart.ZoomPercent(110);
        LeftDrag(&chart, centre, centre + direction * 40);
        EXPECT_EQ(Time(), (AxisRange{0.0, 50.0})) << direction.x() << "," << direction.y();
        EXPECT_FALSE(chart.IsZoomed());
    }
}

TEST_F(Chart, RectangleDragsOfSixteenPixelsOrLessDoNothing) {
    SetView();
    chart.ZoomPercent(110);
    chart.SetRectangleZoom(true);
    const QPoint centre = Inside(0.5, 0.5);
    for (const QPoint end : {centre + QPoint(16, 16), centre - QPoint(16, 16), centre + QPoint(200, 10),
                             centre + QPoint(-10, -200)})
        LeftDrag(&chart, centre, end);
    EXPECT_EQ(Time(), (AxisRange{5.0, 45.0}));
    EXPECT_TRUE(chart.IsZoomed());
}

TEST_F(Chart, RectangleModeDoesNotPan) {
    SetView();
    chart.SetRectangleZoom(true);
    chart.SetRectangleZoom(false);
    LeftDrag(&chart, Inside(0.5, 0.5), Inside(0.4, 0.5));
    EXPECT_NE(Time(), (AxisRange{0.0, 50.0})); // panning again once the mode is off
    SetView();
    chart.SetRectangleZoom(true);
    LeftDrag(&chart, Inside(0.5, 0.5), Inside(0.4, 0.5)); // narrow drag: neither zoom nor pan
    EXPECT_EQ(Time(), (AxisRange{0.0, 50.0}));
}

TEST_F(Chart, DataPointMarkersAreSmallCirclesWithoutOutline) {
    chart.AddSeries(QStringLiteral("50 ohms"), Qt::red, Triangle(0.5));
    EXPECT_EQ(chart.graph(1)->scatterStyle().shape(), QCPScatterStyle::ssNone);
    chart.SetDataPointsVisible(true);
    for (int i = 0; i < chart.graphCount(); ++i) {
        const QCPScatterStyle marker = chart.graph(i)->scatterStyle();
        EXPECT_EQ(marker.shape(), QCPScatterStyle::ssPixmap);
        EXPECT_EQ(marker.size(), 3.0);
        EXPECT_EQ(marker.pen().style(), Qt::NoPen);
        EXPECT_EQ(marker.brush().color(), chart.graph(i)->pen().color());
        // A disc of the series' colour: opaque in the middle, no outline of another colour.
        const QImage disc = marker.pixmap().toImage();
        ASSERT_EQ(disc.size(), QSize(3, 3));
        EXPECT_EQ(disc.pixelColor(1, 1).rgb(), chart.graph(i)->pen().color().rgb());
        EXPECT_LT(disc.pixelColor(0, 0).alpha(), disc.pixelColor(1, 1).alpha());
    }
    chart.AddSeries(QStringLiteral("75 ohms"), Qt::green, Triangle(0.2)); // new series follow the state
    EXPECT_EQ(chart.graph(2)->scatterStyle().shape(), QCPScatterStyle::ssPixmap);
    chart.SetDataPointsVisible(false);
    EXPECT_EQ(chart.graph(0)->scatterStyle().shape(), QCPScatterStyle::ssNone);
}

TEST_F(Chart, TitleLegendAndAxisTitles) {
    chart.SetTitleLines({QStringLiteral("Device ID: X1"), QStringLiteral("Sep 03, 2013 02:07:05 PM")});
    EXPECT_EQ(chart.TitleLines(), QStringList({"Device ID: X1", "Sep 03, 2013 02:07:05 PM"}));
    EXPECT_EQ(chart.xAxis->label(), "Time (msec)");
    EXPECT_EQ(chart.yAxis->label(), "Current (A)");
    EXPECT_TRUE(chart.legend->visible());
    ASSERT_EQ(chart.legend->itemCount(), 1);
    EXPECT_EQ(chart.graph(0)->name(), "25 ohms");
}

TEST_F(Chart, MouseOverALineShowsTheCurrentAsAHint) {
    SetView();
    const QPoint onLine(qRound(chart.xAxis->coordToPixel(10.0)), qRound(chart.yAxis->coordToPixel(40.0)));
    SendMouse(&chart, QEvent::MouseMove, onLine);
    EXPECT_EQ(chart.cursor().shape(), Qt::PointingHandCursor);
    const double current = chart.yAxis->pixelToCoord(onLine.y());
    EXPECT_NEAR(current, 40.0, 0.5);
    EXPECT_EQ(chart.toolTip(), FormatCurrentReadout(current));

    const QPoint offLine(onLine.x(), qRound(chart.yAxis->coordToPixel(0.0)));
    SendMouse(&chart, QEvent::MouseMove, offLine);
    EXPECT_TRUE(chart.toolTip().isEmpty());
    EXPECT_EQ(chart.cursor().shape(), Qt::ArrowCursor);

    chart.SetRectangleZoom(true);
    SendMouse(&chart, QEvent::MouseMove, offLine);
    EXPECT_EQ(chart.cursor().shape(), Qt::CrossCursor);
}

TEST_F(Chart, TheFirstSeriesUnderTheMouseWins) {
    chart.AddSeries(QStringLiteral("50 ohms"), Qt::red, Triangle(0.5));
    SetView();
    auto at = [&](double t, double a) {
        return QPoint(qRound(chart.xAxis->coordToPixel(t)), qRound(chart.yAxis->coordToPixel(a)));
    };
    EXPECT_EQ(chart.SeriesAt(at(10.0, 40.0)), 0);
    EXPECT_EQ(chart.SeriesAt(at(10.0, 20.0)), 1);
    EXPECT_EQ(chart.SeriesAt(at(0.0, 0.0)), 0); // both start at 0 A
    EXPECT_EQ(chart.SeriesAt(at(10.0, 30.0)), -1);
}

TEST_F(Chart, PrintsOneLandscapePageAndLeavesThePrinterPortrait) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    chart.Print(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    const PdfInfo info = ReadPdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_GT(info.width, info.height);
    EXPECT_EQ(chart.width(), 640); // the window's chart keeps its size
}
