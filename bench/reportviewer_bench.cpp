// The report viewer on a saved seven-load record: from construction until the report memo is first
// painted, the wait a technician has after "Open Test Report".
#include "bench/paintcounter.h"
#include "records/tzrtestrec.h"
#include "report/testreportviewer.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

namespace {

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

// Baseline: a bare text box of the same font showing the same 5167 lines, shown until first paint.
void BM_BareTextBoxUntilFirstPaintBaseline(benchmark::State& state) {
    TempSettings settings;
    const QString fileName = settings.Folder() + QStringLiteral("/seven-loads.zrq");
    if (MakeFullRecord()->SaveTestFile(fileName) != 0) {
        state.SkipWithError("the record could not be saved");
        return;
    }
    QFont font;
    QSize size;
    QString text;
    {
        TTestReportViewer viewer(nullptr, fileName);
        font = viewer.txtTestReport->font();
        size = viewer.txtTestReport->size();
        text = viewer.txtTestReport->toPlainText();
    }
    for (auto _ : state) {
        QPlainTextEdit box;
        box.setFont(font);
        box.resize(size);
        box.setReadOnly(true);
        box.setPlainText(text);
        PaintCounter counter;
        box.viewport()->installEventFilter(&counter);
        box.show();
        for (int i = 0; i < 100 && counter.paints == 0; ++i)
            QApplication::processEvents();
        if (counter.paints == 0)
            state.SkipWithError("the text was never painted");
    }
}
BENCHMARK(BM_BareTextBoxUntilFirstPaintBaseline)->Unit(benchmark::kMillisecond);
// Once only: run alone (--benchmark_filter=FirstInProcess) it includes loading the font database and
// the first layout of the fonts, as the first viewer after the program starts does.
BENCHMARK(BM_OpenReportViewerUntilFirstPaint)
    ->Name("BM_OpenReportViewerFirstInProcess")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
