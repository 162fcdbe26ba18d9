// The waveform viewer with all seven loads: opening until the chart is first painted, one zoom step
// drawn, one pan step drawn, one mouse move with the read-out.
#include "bench/paintcounter.h"
#include "records/loadresults.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"
#include "waveform/wavechart.h"
#include "waveform/waveformviewer.h"
#include "waveform/waveseries.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

const QList<TTestLoad> AllLoads{0, 1, 2, 3, 4, 5, 6};

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A viewer on the seven loads of a full record, shown and painted, with settings in a temporary folder.
class OpenViewer {
public:
    OpenViewer() : record(MakeFullRecord()) {
        viewer = new TWaveformViewer(nullptr, AllLoads, *record);
        viewer->show();
        QApplication::processEvents();
        chart = viewer->findChild<TWaveChart*>(QStringLiteral("chartWave"));
    }
    ~OpenViewer() { delete viewer; }

    QPoint Inside(double fx, double fy) const {
        const QRect r = chart->axisRect()->rect();
        return {r.left() + static_cast<int>(r.width() * fx), r.top() + static_cast<int>(r.height() * fy)};
    }

    TempSettings settings;
    std::unique_ptr<TZRTestRec> record;
    TWaveformViewer* viewer = nullptr;
    TWaveChart* chart = nullptr;
};

void BM_OpenViewerUntilFirstPaint(benchmark::State& state) {
    TempSettings settings;
    const auto record = MakeFullRecord();
    for (auto _ : state) {
        auto* viewer = new TWaveformViewer(nullptr, AllLoads, *record);
        if (!ShowUntilPainted(viewer, viewer->findChild<TWaveChart*>(QStringLiteral("chartWave"))))
            state.SkipWithError("the chart was never painted");
        state.PauseTiming(); // closing writes the placement to the settings file
        delete viewer;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenViewerUntilFirstPaint)->Unit(benchmark::kMillisecond);

// Argument 1: with the data points of every series shown.
void BM_ZoomStepDrawn(benchmark::State& state) {
    OpenViewer v;
    v.chart->SetDataPointsVisible(state.range(0) != 0);
    bool in = true;
    for (auto _ : state) {
        v.chart->ZoomPercent(in ? 110 : 90); // sets the first of the four steps
        v.chart->replot(QCustomPlot::rpImmediateRefresh);
        state.PauseTiming();
        v.chart->FinishAnimation();
        in = !in;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ZoomStepDrawn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PanStepDrawn(benchmark::State& state) {
    OpenViewer v;
    const QPoint from = v.Inside(0.5, 0.5);
    SendMouse(v.chart, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const QPoint to = from + QPoint((step++ % 2) ? 0 : 12, 0);
        SendMouse(v.chart, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        v.chart->replot(QCustomPlot::rpImmediateRefresh);
    }
    SendMouse(v.chart, QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_PanStepDrawn)->Unit(benchmark::kMillisecond);

void BM_MouseMoveReadout(benchmark::State& state) {
    OpenViewer v;
    // Alternately on the first load's line near its peak and over empty plot area.
    const double peak = v.chart->SeriesValueRange(0).max;
    const QPoint onLine(qRound(v.chart->xAxis->coordToPixel(0.5)),
                        qRound(v.chart->yAxis->coordToPixel(peak * 0.97)));
    const QPoint empty = v.Inside(0.8, 0.1);
    int step = 0;
    for (auto _ : state)
        SendMouse(v.chart, QEvent::MouseMove, (step++ % 2) ? onLine : empty, Qt::NoButton, Qt::NoButton);
}
BENCHMARK(BM_MouseMoveReadout)->Unit(benchmark::kMicrosecond);

// Baselines: the same seven series of 5120 points in a bare QCustomPlot of the viewer's chart size,
// with none of the viewer's code: shown until first paint, one replot after a zoom of the time axis,
// and the library's own hit test of the seven lines at one mouse position.
class BarePlot {
public:
    explicit BarePlot(const QSize& size) {
        const auto record = MakeFullRecord();
        plot.resize(size);
        for (TTestLoad load : AllLoads) {
            const TLoadResults results = ComputeLoadResults(record->Loads[load], load);
            const WaveSeriesData points = WaveSeriesPoints(record->Loads[load], results);
            plot.addGraph()->setData(points.keys, points.values, true);
        }
        plot.rescaleAxes();
    }
    QCustomPlot plot;
};

QSize ChartSize() {
    static const QSize size = [] {
        OpenViewer v;
        return v.chart->size();
    }();
    return size;
}

void BM_BarePlotUntilFirstPaintBaseline(benchmark::State& state) {
    const QSize size = ChartSize();
    for (auto _ : state) {
        BarePlot bare(size);
        if (!ShowUntilPainted(&bare.plot, &bare.plot))
            state.SkipWithError("the plot was never painted");
    }
}
BENCHMARK(BM_BarePlotUntilFirstPaintBaseline)->Unit(benchmark::kMillisecond);

void BM_BarePlotReplotBaseline(benchmark::State& state) {
    BarePlot bare(ChartSize());
    bare.plot.show();
    QApplication::processEvents();
    bool in = true;
    for (auto _ : state) {
        bare.plot.xAxis->scaleRange(in ? 0.9 : 1.0 / 0.9);
        bare.plot.replot(QCustomPlot::rpImmediateRefresh);
        in = !in;
    }
}
BENCHMARK(BM_BarePlotReplotBaseline)->Unit(benchmark::kMillisecond);

void BM_BarePlotHitTestBaseline(benchmark::State& state) {
    BarePlot bare(ChartSize());
    bare.plot.show();
    QApplication::processEvents();
    const QPointF mouse(bare.plot.axisRect()->center());
    for (auto _ : state)
        for (int g = 0; g < bare.plot.graphCount(); ++g)
            benchmark::DoNotOptimize(bare.plot.graph(g)->selectTest(mouse, false));
}
BENCHMARK(BM_BarePlotHitTestBaseline)->Unit(benchmark::kMicrosecond);

} // namespace
