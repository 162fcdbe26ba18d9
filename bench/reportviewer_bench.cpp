// The report viewer on a saved seven-load record: from construction until the report memo is first
// painted, the wait a technician has after "Open Test Report".
#include "records/tzrtestrec.h"
#include "report/testreportviewer.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void BM_OpenReportViewerUntilFirstPaint(benchmark::State& state) {
    TempSettings settings;
    const QString fileName = settings.Folder() + QStringLiteral("/seven-loads.zrq");
    if (MakeFullRecord()->SaveTestFile(fileName) != 0) {
        state.SkipWithError("the record could not be saved");
        return;
    }
    for (auto _ : state) {
        auto* viewer = new TTestReportViewer(nullptr, fileName);
        PaintCounter counter;
        viewer->txtTestReport->viewport()->installEventFilter(&counter);
        viewer->show();
        for (int i = 0; i < 100 && counter.paints == 0; ++i)
            QApplication::processEvents();
        if (counter.paints == 0)
            state.SkipWithError("the report was never painted");
        state.PauseTiming(); // closing writes the placement to the settings file
        delete viewer;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenReportViewerUntilFirstPaint)->Unit(benchmark::kMillisecond);
// Once only: run alone (--benchmark_filter=FirstInProcess) it includes loading the font database and
// the first layout of the fonts, as the first viewer after the program starts does.
BENCHMARK(BM_OpenReportViewerUntilFirstPaint)
    ->Name("BM_OpenReportViewerFirstInProcess")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
