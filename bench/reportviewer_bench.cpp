// The report viewer on a saved seven-load record: from construction until the report memo is first
// painted, the wait a technician has after "Open Test Report".
#include "bench/paintcounter.h"
#include "records/tzrtestrec.h"
#include "report/testreportviewer.h"
#include "tests/support/findchild.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

namespace {

// A record with seven loads saved in the temporary settings folder; its name, or empty on failure.
QString SaveSevenLoads(const TempSettings& settings) {
    const QString fileName = settings.Folder() + QStringLiteral("/seven-loads.zrq");
    return MakeFullRecord()->SaveTestFile(fileName) == 0 ? fileName : QString();
}

void BM_OpenReportViewerUntilFirstPaint(benchmark::State& state) {
    TempSettings settings;
    const QString fileName = SaveSevenLoads(settings);
    if (fileName.isEmpty()) {
        state.SkipWithError("the record could not be saved");
        return;
    }
    for (auto _ : state) {
        auto* viewer = new TTestReportViewer(nullptr, fileName);
        if (!ShowUntilPainted(viewer, Child<QPlainTextEdit>(*viewer, "txtTestReport")->viewport()))
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
    const QString fileName = SaveSevenLoads(settings);
    if (fileName.isEmpty()) {
        state.SkipWithError("the record could not be saved");
        return;
    }
    QFont font;
    QSize size;
    QString text;
    {
        TTestReportViewer viewer(nullptr, fileName);
        font = Child<QPlainTextEdit>(viewer, "txtTestReport")->font();
        size = Child<QPlainTextEdit>(viewer, "txtTestReport")->size();
        text = Child<QPlainTextEdit>(viewer, "txtTestReport")->toPlainText();
    }
    for (auto _ : state) {
        QPlainTextEdit box;
        box.setFont(font);
        box.resize(size);
        box.setReadOnly(true);
        box.setPlainText(text);
        if (!ShowUntilPainted(&box, box.viewport()))
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
