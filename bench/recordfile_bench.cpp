// Opening and saving a *.zrq file of seven loads, beside what the same 72424 bytes cost with plain
// file calls: a read of the whole file, and a write that is flushed to the disk and renamed into place
// (the save writes a temporary file, syncs it and renames it, so that a failed save keeps the old file).
#include "records/tzrtestrec.h"
#include "tests/support/recordbuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct SavedRecord {
    QTemporaryDir dir;
    std::unique_ptr<TZRTestRec> rec = MakeFullRecord();
    QString path = dir.filePath(QStringLiteral("seven-loads.zrq"));
    SavedRecord() { rec->SaveTestFile(path); }
};

void BM_LoadTestFile(benchmark::State& state) {
    SavedRecord saved;
    auto rec = std::make_unique<TZRTestRec>();
    for (auto _ : state)
        if (rec->LoadTestFile(saved.path) != 0)
            state.SkipWithError("the record did not load");
}
BENCHMARK(BM_LoadTestFile)->Unit(benchmark::kMicrosecond);

void BM_PlainReadBaseline(benchmark::State& state) {
    SavedRecord saved;
    for (auto _ : state) {
        QFile file(saved.path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("the file did not open");
        benchmark::DoNotOptimize(file.readAll());
    }
}
BENCHMARK(BM_PlainReadBaseline)->Unit(benchmark::kMicrosecond);

void BM_SaveTestFile(benchmark::State& state) {
    SavedRecord saved;
    for (auto _ : state)
        if (saved.rec->SaveTestFile(saved.path) != 0)
            state.SkipWithError("the record was not saved");
}
BENCHMARK(BM_SaveTestFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlainSyncedWriteBaseline(benchmark::State& state) {
    SavedRecord saved;
    const QByteArray bytes = RecordBytes(*saved.rec);
    const QByteArray target = QFile::encodeName(saved.path);
    const QByteArray temporary = target + ".tmp";
    for (auto _ : state) {
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = fd >= 0 &&
                        ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size() &&
                        ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!ok || std::rename(temporary.constData(), target.constData()) != 0)
            state.SkipWithError("the plain write failed");
    }
}
BENCHMARK(BM_PlainSyncedWriteBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
