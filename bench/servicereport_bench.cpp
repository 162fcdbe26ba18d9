// The PDF service report of a seven-load test, as Export PDF and zrqtool pdf write it: the time to
// build the document's bytes and their size (counter "bytes"). Aim: under 300 ms and 300 KB.
// /0 is a record built from fixed values, /1 a seven-load test of the simulated analyzer (the record
// fuzzing starts from); the verdict against the generic profile's 200 J setting.
#include "records/tzrtestrec.h"
#include "report/servicereport.h"
#include "tests/support/recordbuilder.h"
#include "verdict/verdict.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

std::unique_ptr<TZRTestRec> BenchRecord(int which) {
    if (which == 0)
        return MakeFullRecord();
    return RecordFromBytes(ReadBytes(QStringLiteral(CORVEX_SIMULATED_RECORD)));
}

TVerdictBasis Generic200() {
    TVerdictBasis basis;
    basis.profile.name = QStringLiteral("Generic impedance-compensated biphasic");
    basis.setting.selected = 200;
    basis.setting.declared.fill(200.0);
    basis.profile.settings = {basis.setting};
    return basis;
}

void BM_ServiceReportPdf(benchmark::State& state) {
    const auto record = BenchRecord(static_cast<int>(state.range(0)));
    const TVerdictBasis basis = Generic200();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = BuildServiceReportPdf(*record, basis);
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ServiceReportPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Baseline: plain Qt calls doing the bulk of that work, with none of the program's code: a PDF of
// three pages with the seven waveforms as polylines of every sample, once together and once each,
// and 300 short texts.
void BM_PlainPdfPolylinesBaseline(benchmark::State& state) {
    const auto record = BenchRecord(static_cast<int>(state.range(0)));
    std::vector<QPolygonF> lines;
    for (const TZRTest& load : record->Loads) {
        QPolygonF line;
        for (int j = 0; j < SAMPLE_COUNT; ++j)
            line << QPointF(j * 0.5, 2000 + load.Samples[j] * 0.05);
        lines.push_back(line);
    }
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            QPainter painter(&writer);
            for (int text = 0; text < 300; ++text)
                painter.drawText(QPointF(100 + text % 7 * 1000, 300 + text / 7 * 200),
                                 QStringLiteral("123.45"));
            for (int page = 0; page < 2; ++page) {
                writer.newPage();
                for (const QPolygonF& line : lines)
                    painter.drawPolyline(line);
            }
        }
        bytes = pdf.size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PlainPdfPolylinesBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
