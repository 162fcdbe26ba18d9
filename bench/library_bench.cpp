// The test library on SQLite: importing 1000 record files with zrqtool (each one its own transaction,
// as a killed import must lose nothing), beside reading the same files alone; and listing one device's
// tests in a library of 10 000.
#include "cli/command.h"
#include "library/testlibrary.h"
#include "records/recordimage.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A record of `device` tested on the given day of 2026 (1..365) at the given hour.
QByteArray Record(const QString& device, int day, int hour) {
    static const std::unique_ptr<TZRTestRec> rec = MakeFullRecord();
    const QDate date = QDate(2026, 1, 1).addDays(day);
    SetStatus(*rec, "ZR-1234",
              DateStamp{0, 0, static_cast<uint8_t>(hour), static_cast<uint8_t>(date.day()),
                        static_cast<uint8_t>(date.month()), 26});
    rec->SetDeviceInfo(diDeviceID, device);
    return EncodeTestRecord(*rec);
}

struct RecordFolder {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("records"));
    explicit RecordFolder(int count) {
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i)
            WriteBytes(QStringLiteral("%1/%2.zrq").arg(folder).arg(i),
                       Record(QStringLiteral("DEF-%1").arg(i % 100), i % 365, i / 365));
    }
};

void BM_ImportThousandRecords(benchmark::State& state) {
    RecordFolder records(1000);
    int run = 0;
    for (auto _ : state) {
        const QString library = records.dir.filePath(QStringLiteral("library%1.sqlite").arg(++run));
        QString out, err;
        QTextStream o(&out), e(&err);
        if (RunZrqTool({QStringLiteral("library"), QStringLiteral("--db"), library, QStringLiteral("import"),
                        records.folder},
                       o, e) != 0)
            state.SkipWithError("the import failed");
    }
}
BENCHMARK(BM_ImportThousandRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadThousandRecordsBaseline(benchmark::State& state) {
    RecordFolder records(1000);
    for (auto _ : state) {
        QDirIterator it(records.folder, {QStringLiteral("*.zrq")}, QDir::Files);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                state.SkipWithError("a file did not open");
            benchmark::DoNotOptimize(file.readAll());
        }
    }
}
BENCHMARK(BM_ReadThousandRecordsBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

// 1000 devices with 10 tests each.
void BM_ListOneDeviceOfTenThousand(benchmark::State& state) {
    QTemporaryDir dir;
    QString why;
    auto library = TTestLibrary::Open(dir.filePath(QStringLiteral("library.sqlite")), why);
    if (library)
        library->SkipDiskFlushes();
    for (int i = 0; i < 10000 && library; ++i)
        library->Add(Record(QStringLiteral("DEF-%1").arg(i % 1000, 4, 10, QLatin1Char('0')), i / 1000 * 30, 9));
    if (!library || library->List(QStringLiteral("DEF-0042")).size() != 10) {
        state.SkipWithError("the library was not filled");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(library->List(QStringLiteral("DEF-0042")));
}
BENCHMARK(BM_ListOneDeviceOfTenThousand)->Unit(benchmark::kMillisecond);

} // namespace
