// The fleet of a national service company: 100 000 devices with 10 tests each (1 000 000 tests), in
// one library on SQLite (a file in /dev/shm) and on PostgreSQL. Opening the Test Library window until
// its device list and trend chart are painted; a search typed until the list is painted again;
// choosing a device until its trend is painted; zrqtool library due --json. Beside each, the library's
// own query and a baseline doing the same with a plain query into a bare table.
//
// The library is generated once per run (bench/fleetgenerator.h). CORVEX_BENCH_FLEET=DEVICESxTESTS picks
// another size ("2000x10" for a quick run); CORVEX_BENCH_SQLITE=FILE keeps the SQLite library in that
// file between runs (made when missing); CORVEX_BENCH_POSTGRES=postgresql://USER@HOST:PORT/DBNAME names
// the PostgreSQL server (its password from PGPASSWORD or ~/.pgpass), whose database must be empty or
// hold the same generated fleet. Without it the PostgreSQL benchmarks are skipped.
#include "bench/fleetgenerator.h"
#include "bench/librarywindowtiming.h"
#include "bench/paintcounter.h"
#include "bench/plainwork.h"
#include "cli/command.h"
#include "library/fleet.h"
#include "library/librarybackend.h"
#include "library/libraryworker.h"
#include "library/programlibrary.h"
#include "libraryview/fleetlist.h"
#include "libraryview/testlibrarywindow.h"
#include "libraryview/trendchart.h"
#include "tests/support/findchild.h"
#include "tests/support/tempsettings.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QIODevice>
#include <QLineEdit>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

enum class Db { SQLite, Postgres };

// The settings folder naming one generated library; `why` is empty when it is there.
class FleetLibrary {
public:
    explicit FleetLibrary(Db db) : m_memory(QStringLiteral("/dev/shm/corvex-fleet-XXXXXX")) {
        const TFleetSize size = FleetSizeFromEnvironment();
        if (db == Db::Postgres)
            location = qEnvironmentVariable("CORVEX_BENCH_POSTGRES");
        else if (qEnvironmentVariableIsSet("CORVEX_BENCH_SQLITE"))
            location = qEnvironmentVariable("CORVEX_BENCH_SQLITE");
        else
            location = m_memory.filePath(QStringLiteral("library.sqlite"));
        if (location.isEmpty()) {
            why = QStringLiteral("CORVEX_BENCH_POSTGRES names no PostgreSQL server");
            return;
        }
        settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("DATABASE"), location);
        QElapsedTimer timer;
        timer.start();
        if (GenerateFleet(location, size, Today(), why))
            std::fprintf(stderr, "%s library of %d devices x %d tests ready in %.1f s\n",
                         db == Db::Postgres ? "PostgreSQL" : "SQLite", size.devices, size.testsPerDevice,
                         static_cast<double>(timer.elapsed()) / 1000.0);
        else
            why = QStringLiteral("no library: ") + why;
    }
    TempSettings settings;
    QString location;
    QString why;

private:
    QTemporaryDir m_memory;
};

FleetLibrary& Library(Db db) {
    if (db == Db::Postgres) {
        static FleetLibrary postgres(Db::Postgres);
        return postgres;
    }
    static FleetLibrary sqlite(Db::SQLite);
    return sqlite;
}

// The library of `db`, the settings pointing at its folder (another benchmark's settings may have
// moved them); null, with the benchmark skipped, when there is none.
const FleetLibrary* UseLibrary(benchmark::State& state, Db db) {
    const FleetLibrary& library = Library(db);
    SetupDataFolderIn(library.settings.Folder());
    if (!library.why.isEmpty()) {
        state.SkipWithError(qPrintable(library.why));
        return nullptr;
    }
    return &library;
}

void BM_FleetOpenWindowUntilPainted(benchmark::State& state, Db db) {
    if (UseLibrary(state, db))
        TimeOpeningUntilPainted(state);
}
BENCHMARK_CAPTURE(BM_FleetOpenWindowUntilPainted, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetOpenWindowUntilPainted, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

// A search as the technician types its last letter: the whole word at once, then the list painted.
void BM_FleetSearchUntilPainted(benchmark::State& state, Db db) {
    if (!UseLibrary(state, db))
        return;
    TTestLibraryWindow window;
    window.show();
    QApplication::processEvents();
    auto* search = Child<QLineEdit>(window, "edtSearch");
    auto* fleet = qobject_cast<TFleetListModel*>(DeviceTable(window)->model());
    bool listed = false; // the first page of what the search found has arrived
    QObject::connect(fleet, &TFleetListModel::PageArrived, [&listed](bool first) { listed = listed || first; });
    size_t term = 0;
    for (auto _ : state) {
        listed = false;
        PaintWait wait({{DeviceTable(window)->viewport(), [&listed] { return listed; }}});
        search->setText(QLatin1String(FleetSearchTerms[term++ % std::size(FleetSearchTerms)]));
        if (!wait.Done() || fleet->rowCount() == 0) {
            state.SkipWithError("the search found nothing or was never painted");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_FleetSearchUntilPainted, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetSearchUntilPainted, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

void BM_FleetChooseDeviceUntilTrendPainted(benchmark::State& state, Db db) {
    if (!UseLibrary(state, db))
        return;
    TTestLibraryWindow window;
    window.show();
    QTableView* devices = DeviceTable(window);
    TTrendChart* chart = TrendChart(window);
    WorkUntil([devices] { return devices->model()->rowCount() > 0 && WorkerAnswered(); });
    int row = 0;
    for (auto _ : state) {
        row = (row + 37) % std::max(devices->model()->rowCount(), 1); // all over the first page
        if (!ChooseUntilTrendPainted(devices, chart, row)) {
            state.SkipWithError("the trend was never painted");
            break;
        }
    }
}
BENCHMARK_CAPTURE(BM_FleetChooseDeviceUntilTrendPainted, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetChooseDeviceUntilTrendPainted, postgres, Db::Postgres)
    ->Unit(benchmark::kMillisecond);

// Swallows what is written to it.
class NullDevice : public QIODevice {
public:
    NullDevice() { open(QIODevice::WriteOnly); }
    qint64 written = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        written += size;
        return size;
    }
};

// zrqtool library --db LOCATION due --json, in-process: opening the library, the query, the JSON.
void BM_FleetDueJson(benchmark::State& state, Db db) {
    const FleetLibrary* library = UseLibrary(state, db);
    if (!library)
        return;
    for (auto _ : state) {
        NullDevice sink;
        QTextStream out(&sink);
        QString errors;
        QTextStream err(&errors);
        const int status = RunZrqTool({QStringLiteral("library"), QStringLiteral("--db"), library->location,
                                       QStringLiteral("due"), QStringLiteral("--json")},
                                      out, err);
        out.flush();
        if (status != 0 || sink.written == 0)
            state.SkipWithError(qPrintable(QStringLiteral("zrqtool failed: ") + errors));
        state.counters["bytes"] = static_cast<double>(sink.written);
    }
}
BENCHMARK_CAPTURE(BM_FleetDueJson, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetDueJson, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

// The library's own queries that the figures above wait for.
void BM_FleetFirstPageQuery(benchmark::State& state, Db db) {
    if (!UseLibrary(state, db))
        return;
    QString why;
    TFleetQuery query;
    query.today = Today();
    query.limit = 200;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProgramLibrary(why)->Fleet(query));
}
BENCHMARK_CAPTURE(BM_FleetFirstPageQuery, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetFirstPageQuery, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

void BM_FleetCountsQuery(benchmark::State& state, Db db) {
    if (!UseLibrary(state, db))
        return;
    QString why;
    TFleetQuery query;
    query.today = Today();
    for (auto _ : state)
        benchmark::DoNotOptimize(ProgramLibrary(why)->FleetCounts(query));
}
BENCHMARK_CAPTURE(BM_FleetCountsQuery, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetCountsQuery, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

void BM_FleetFacilitiesQuery(benchmark::State& state, Db db) {
    if (!UseLibrary(state, db))
        return;
    QString why;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProgramLibrary(why)->DeviceValues(diFacility));
}
BENCHMARK_CAPTURE(BM_FleetFacilitiesQuery, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetFacilitiesQuery, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

// Baselines: a plain connection and plain queries, shown in a bare table.
class PlainConnection {
public:
    explicit PlainConnection(const QString& location) {
        const std::unique_ptr<TLibraryBackend> backend = BackendFor(location);
        QSqlDatabase db = QSqlDatabase::addDatabase(backend->DriverName(), Name);
        QString why;
        backend->Configure(db, location, why);
        db.open();
    }
    ~PlainConnection() { QSqlDatabase::removeDatabase(Name); }
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;
    QSqlDatabase Db() const { return QSqlDatabase::database(Name); }

private:
    static inline const QString Name = QStringLiteral("plain");
};

const char* const PlainColumns = "device_id, serial_no, make, model, facility, location, last_tested_at, "
                                 "last_verdict, tests";

// Runs `sql` and shows its rows in a bare table until it is painted.
void ShowInBareTable(benchmark::State& state, const QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        state.SkipWithError("the plain query failed");
        return;
    }
    QStandardItemModel model(0, 9);
    AppendPlainRows(q, model);
    QTableView view;
    view.resize(960, 230);
    view.setModel(&model);
    PaintWait wait({{view.viewport()}});
    view.show();
    if (!wait.Done())
        state.SkipWithError("the table was never painted");
}

void BM_FleetPlainPageBaseline(benchmark::State& state, Db db) {
    const FleetLibrary* library = UseLibrary(state, db);
    if (!library)
        return;
    {
        PlainConnection plain(library->location);
        for (auto _ : state)
            ShowInBareTable(state, plain.Db(),
                            QStringLiteral("SELECT %1 FROM devices ORDER BY last_tested_at LIMIT 200")
                                .arg(QLatin1String(PlainColumns)));
    }
}
BENCHMARK_CAPTURE(BM_FleetPlainPageBaseline, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetPlainPageBaseline, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

void BM_FleetPlainSearchBaseline(benchmark::State& state, Db db) {
    const FleetLibrary* library = UseLibrary(state, db);
    if (!library)
        return;
    {
        PlainConnection plain(library->location);
        size_t term = 0;
        for (auto _ : state) {
            const QString like = QStringLiteral("LIKE '%%1%'")
                                     .arg(QString::fromLatin1(FleetSearchTerms[term++ % 4]).toLower());
            ShowInBareTable(
                state, plain.Db(),
                QStringLiteral("SELECT %1 FROM devices WHERE LOWER(device_id) %2 OR LOWER(serial_no) %2 "
                               "OR LOWER(make) %2 OR LOWER(model) %2 OR LOWER(facility) %2 OR "
                               "LOWER(location) %2 ORDER BY last_tested_at LIMIT 200")
                    .arg(QLatin1String(PlainColumns), like));
        }
    }
}
BENCHMARK_CAPTURE(BM_FleetPlainSearchBaseline, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetPlainSearchBaseline, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

void BM_FleetPlainTrendBaseline(benchmark::State& state, Db db) {
    const FleetLibrary* library = UseLibrary(state, db);
    if (!library)
        return;
    {
        PlainConnection plain(library->location);
        QCustomPlot plot;
        plot.resize(500, 330);
        for (int load = 0; load < LOAD_COUNT; ++load)
            plot.addGraph();
        plot.show();
        QApplication::processEvents();
        const int devices = FleetSizeFromEnvironment().devices;
        int device = 0;
        for (auto _ : state) {
            device = (device + 3797) % devices;
            PlotPlainTrend(plain.Db(), FleetDeviceId(device), plot);
        }
    }
}
BENCHMARK_CAPTURE(BM_FleetPlainTrendBaseline, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetPlainTrendBaseline, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

// The devices due within 30 days at the default interval of 12 months, through the index on the
// newest test's date, each row read.
void BM_FleetPlainDueBaseline(benchmark::State& state, Db db) {
    const FleetLibrary* library = UseLibrary(state, db);
    if (!library)
        return;
    {
        PlainConnection plain(library->location);
        const QString before = Today().addDays(DueSoonDays).addMonths(-12).toString(Qt::ISODate);
        for (auto _ : state) {
            QSqlQuery q(plain.Db());
            q.setForwardOnly(true);
            q.exec(
                QStringLiteral("SELECT %1 FROM devices WHERE last_tested_at < '%2' ORDER BY last_tested_at")
                    .arg(QLatin1String(PlainColumns), before));
            qint64 rows = 0;
            while (q.next()) {
                for (int column = 0; column < 9; ++column)
                    benchmark::DoNotOptimize(q.value(column).toString());
                ++rows;
            }
            state.counters["devices"] = static_cast<double>(rows);
        }
    }
}
BENCHMARK_CAPTURE(BM_FleetPlainDueBaseline, sqlite, Db::SQLite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FleetPlainDueBaseline, postgres, Db::Postgres)->Unit(benchmark::kMillisecond);

} // namespace
