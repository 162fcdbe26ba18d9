// Building the report and the CSV for a record with all seven loads: what a report viewer does when
// it opens, and what "Save As CSV" and zrqtool do. The snprintf baseline formats the same 5167 lines
// of 72 characters with one snprintf call per line, for comparison.
#include "report/csvexport.h"
#include "report/reportlines.h"
#include "tests/support/recordbuilder.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {

struct FullTest {
    std::unique_ptr<TZRTestRec> rec = MakeFullRecord();
    TLoadResultsTable table = ComputeLoadResultsTable(*rec);
    QLocale locale = QLocale::c();
};

const FullTest& Test() {
    static const FullTest test;
    return test;
}

void BM_LoadResultsTable(benchmark::State& state) {
    const FullTest& t = Test();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeLoadResultsTable(*t.rec));
}
BENCHMARK(BM_LoadResultsTable)->Unit(benchmark::kMillisecond);

void BM_ReportLines(benchmark::State& state) {
    const FullTest& t = Test();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildReportLines(*t.rec, t.table, t.locale));
}
BENCHMARK(BM_ReportLines)->Unit(benchmark::kMillisecond);

// The whole work of opening a viewer: the table, then the lines.
void BM_ReportFromRecord(benchmark::State& state) {
    const FullTest& t = Test();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildReportLines(*t.rec, ComputeLoadResultsTable(*t.rec), t.locale));
}
BENCHMARK(BM_ReportFromRecord)->Unit(benchmark::kMillisecond);

void BM_Csv(benchmark::State& state) {
    const FullTest& t = Test();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildCsv(*t.rec, t.table, t.locale));
}
BENCHMARK(BM_Csv)->Unit(benchmark::kMillisecond);

// The same characters with plain snprintf into one preallocated buffer: 5120 waveform lines and the
// 24 results lines with eight numbers each, and the other 23 lines copied.
void BM_SnprintfBaseline(benchmark::State& state) {
    const FullTest& t = Test();
    // Plain %5.2f does not cut wide values, so a results line can be longer than 72 characters.
    constexpr int Room = 160;
    std::vector<char> buffer(static_cast<size_t>(REPORT_LINE_COUNT) * Room);
    auto amps = [&t](int load, int j) { return static_cast<double>(t.table.Amps(load, j)); };
    auto result = [&t](int load, int i) { return static_cast<double>(t.table.Result(load, i)); };
    for (auto _ : state) {
        char* p = buffer.data();
        for (int line = 0; line < 23; ++line)
            p += std::snprintf(p, Room, "%s\n", "                         CORVEX DEFIBRILLATOR ANALYZER");
        for (int row = 0; row < 24; ++row)
            p += std::snprintf(p, Room, "%-25s%5.2f  %5.2f  %5.2f  %5.2f  %5.2f  %5.2f  %5.2f\n",
                               "ACTUAL LOAD (ohms)", result(0, row % 18), result(1, row % 18),
                               result(2, row % 18), result(3, row % 18), result(4, row % 18),
                               result(5, row % 18), result(6, row % 18));
        for (int j = 0; j < SAMPLE_COUNT; ++j)
            p += std::snprintf(p, Room, "%14s%7.4f    %5.2f  %5.2f  %5.2f  %5.2f  %5.2f  %5.2f  %5.2f\n", "",
                               static_cast<double>(SampleTime(j)), amps(0, j), amps(1, j), amps(2, j),
                               amps(3, j), amps(4, j), amps(5, j), amps(6, j));
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SnprintfBaseline)->Unit(benchmark::kMillisecond);

} // namespace
