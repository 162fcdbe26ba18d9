// The Test Library window on a library of 10 000 tests (1000 devices, each tested once a year for ten
// years) and one busy device of 300 tests (monthly for 25 years, on three analyzers, some at another
// energy): opening the window until its device list and trend chart are painted, and choosing another
// device (or the busy one) until its tests are listed and its trend is drawn; beside them the store's two
// queries alone, and baselines that do the same with plain queries into a bare table and a bare plot. The
// library is built once per run through the library's own Add (about 20 s).
#include "bench/librarywindowtiming.h"
#include "bench/paintcounter.h"
#include "bench/plainwork.h"
#include "library/libraryworker.h"
#include "libraryview/fleetlist.h"
#include "library/programlibrary.h"
#include "libraryview/testlibrarywindow.h"
#include "libraryview/trendchart.h"
#include "records/recordimage.h"
#include "tests/support/findchild.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"
#include "verdict/profilefolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

namespace {

constexpr int Devices = 1000;
constexpr int TestsPerDevice = 10;
constexpr int BusyTests = 300;
const QString BusyDevice = QStringLiteral("DEF-BUSY");

QString DeviceId(int device) {
    return QStringLiteral("DEF-%1").arg(device, 4, 10, QLatin1Char('0'));
}

// The settings folder naming the library, built on first use; `why` is empty when it was built. The
// library lies in memory (/dev/shm) where there is such a folder, so that its 10 000 commits do not
// wait for the disk; what is measured reads it from memory either way, once it is built.
class BenchLibrary {
public:
    BenchLibrary() : m_memory(QStringLiteral("/dev/shm/corvex-bench-XXXXXX")) {
        if (m_memory.isValid())
            settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("DATABASE"),
                                       m_memory.filePath(QStringLiteral("library.sqlite")));
        QElapsedTimer timer;
        timer.start();
        if (Build())
            std::fprintf(stderr, "library of %d tests built in %.1f s\n", Devices * TestsPerDevice,
                         static_cast<double>(timer.elapsed()) / 1000.0);
    }
    TempSettings settings;
    QString why;

private:
    QTemporaryDir m_memory;

    bool Build() {
        TTestLibrary* store = ProgramLibrary(why);
        const std::optional<TVerdictBasis> basis = ResolveVerdictChoice(
            LoadProfiles().profiles, {QStringLiteral("Generic impedance-compensated biphasic"), 200});
        if (!store || !basis) {
            why = QStringLiteral("no library: ") + why;
            return false;
        }
        const QString makes[] = {QStringLiteral("Acme Medical"), QStringLiteral("Borealis"),
                                 QStringLiteral("Cardiotek")};
        auto rec = MakeFullRecord();
        const auto base = MakeFullRecord();
        for (int device = 0; device < Devices; ++device) {
            for (int year = 0; year < TestsPerDevice; ++year) {
                rec->CopyTest(*base);
                SetStatus(*rec, "ZR-1234",
                          DateStamp{0, 30, 10, static_cast<uint8_t>(1 + device % 28),
                                    static_cast<uint8_t>(1 + device % 12), static_cast<uint8_t>(17 + year)});
                rec->SetDeviceInfo(diDeviceID, DeviceId(device));
                rec->SetDeviceInfo(diSerialNo, QStringLiteral("SN %1").arg(90000 + device));
                rec->SetDeviceInfo(diManufacturer, makes[device % 3]);
                rec->SetDeviceInfo(diModel, QStringLiteral("Model %1").arg(device % 7));
                rec->SetDeviceInfo(diFacility, QStringLiteral("Hospital %1").arg(device % 20));
                rec->SetDeviceInfo(diLocation, QStringLiteral("Ward %1").arg(device % 50));
                for (TZRTest& load : rec->Loads)
                    load.Results.TotalEnergy = static_cast<uint16_t>(load.Results.TotalEnergy - 3 * year);
                const TAddResult added = store->Add(EncodeTestRecord(*rec), basis);
                if (added.outcome != TAddOutcome::Added) {
                    why = added.why;
                    return false;
                }
            }
        }
        return BuildBusy(*store, *basis);
    }

    bool BuildBusy(TTestLibrary& store, const TVerdictBasis& basis) {
        std::optional<TVerdictBasis> lower =
            ResolveVerdictChoice(LoadProfiles().profiles, {basis.profile.name, 150});
        auto rec = MakeFullRecord();
        for (int test = 0; test < BusyTests; ++test) {
            const std::string analyzer = "ZR-" + std::to_string(1 + test / 100);
            SetStatus(*rec, analyzer.c_str(),
                      DateStamp{0, 30, 10, 14, static_cast<uint8_t>(1 + test % 12),
                                static_cast<uint8_t>(1 + test / 12)});
            rec->SetDeviceInfo(diDeviceID, BusyDevice);
            rec->Loads[test % LOAD_COUNT].HasData = test % 11 == 0 ? 0 : 1; // now and then a load left out
            const TAddResult added = store.Add(EncodeTestRecord(*rec), test % 10 == 5 ? lower : basis);
            if (added.outcome != TAddOutcome::Added) {
                why = added.why;
                return false;
            }
            rec->Loads[test % LOAD_COUNT].HasData = 1;
        }
        return true;
    }
};

// The library for a benchmark, with the settings pointing at its folder (another benchmark's
// temporary settings may have moved them); false, with the benchmark skipped, when there is none.
bool UseLibrary(benchmark::State& state) {
    static BenchLibrary library;
    SetupDataFolderIn(library.settings.Folder());
    if (!library.why.isEmpty())
        state.SkipWithError(qPrintable(library.why));
    return library.why.isEmpty();
}

void BM_OpenTestLibraryWindowUntilPainted(benchmark::State& state) {
    if (UseLibrary(state))
        TimeOpeningUntilPainted(state);
}
BENCHMARK(BM_OpenTestLibraryWindowUntilPainted)->Unit(benchmark::kMillisecond);

void BM_ChooseDeviceUntilTrendPainted(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    TTestLibraryWindow window;
    window.show();
    WorkUntil(WorkerAnswered);
    QTableView* devices = DeviceTable(window);
    TTrendChart* chart = TrendChart(window);
    int row = 0;
    for (auto _ : state) {
        row = (row + 379) % std::max(devices->model()->rowCount(), 1); // all over the pages read (200 a page)
        if (!ChooseUntilTrendPainted(devices, chart, row)) {
            state.SkipWithError("the trend was never painted");
            break;
        }
    }
}
BENCHMARK(BM_ChooseDeviceUntilTrendPainted)->Unit(benchmark::kMillisecond);

void BM_ChooseBusyDeviceUntilTrendPainted(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    TTestLibraryWindow window;
    window.show();
    WorkUntil(WorkerAnswered);
    QTableView* devices = DeviceTable(window);
    TTrendChart* chart = TrendChart(window);
    auto* fleet = qobject_cast<TFleetListModel*>(devices->model());
    while (fleet->Row(BusyDevice) < 0 && fleet->canFetchMore(QModelIndex())) { // the pages down to it
        fleet->fetchMore(QModelIndex());
        WorkUntil(WorkerAnswered);
    }
    const int busy = fleet->Row(BusyDevice);
    if (busy < 0) {
        state.SkipWithError("the busy device is not listed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming(); // away from it first, so that choosing it draws it again
        devices->selectRow(busy == 0 ? 1 : 0);
        WorkUntil(WorkerAnswered);
        state.ResumeTiming();
        if (!ChooseUntilTrendPainted(devices, chart, busy)) {
            state.SkipWithError("the trend was never painted");
            break;
        }
    }
}
BENCHMARK(BM_ChooseBusyDeviceUntilTrendPainted)->Unit(benchmark::kMillisecond);

// Baselines: the same data with a plain query each, shown in a bare table or a bare plot.
QSqlDatabase PlainConnection() {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
    db.setDatabaseName(ProgramLibraryLocation());
    db.open();
    return db;
}

void BM_PlainDeviceTableBaseline(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    {
        QSqlDatabase db = PlainConnection();
        for (auto _ : state) {
            QSqlQuery q(db);
            // Each device's newest test, found through the index on device and date.
            q.exec(QStringLiteral(
                "SELECT t.device_id, t.serial_no, t.make, t.model, t.facility, t.location, "
                "t.tested_at, t.verdict, d.n FROM tests t JOIN (SELECT device_id, "
                "MAX(tested_at) AS last_at, COUNT(*) AS n FROM tests GROUP BY device_id) d "
                "ON t.device_id = d.device_id AND t.tested_at = d.last_at ORDER BY t.device_id"));
            QStandardItemModel model(0, 9);
            AppendPlainRows(q, model);
            QWidget window;
            window.resize(980, 680);
            auto* view = new QTableView(&window);
            view->resize(960, 230);
            view->setModel(&model);
            auto* plot = new QCustomPlot(&window);
            plot->setGeometry(0, 240, 500, 330);
            plot->addGraph()->setData({1, 2, 3}, {200, 201, 199});
            plot->rescaleAxes();
            PaintWait wait({{view->viewport()}, {plot}});
            window.show();
            if (!wait.Done()) {
                state.SkipWithError("the table was never painted");
                break;
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
}
BENCHMARK(BM_PlainDeviceTableBaseline)->Unit(benchmark::kMillisecond);

// The parts of the two figures above that the library's store takes: the device list, one device's tests.
void BM_LibraryDevicesQuery(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    QString why;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProgramLibrary(why)->Devices());
}
BENCHMARK(BM_LibraryDevicesQuery)->Unit(benchmark::kMillisecond);

void BM_LibraryDeviceTestsQuery(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    QString why;
    int d = 0;
    for (auto _ : state) {
        d = (d + 379) % Devices;
        benchmark::DoNotOptimize(ProgramLibrary(why)->List(DeviceId(d)));
    }
}
BENCHMARK(BM_LibraryDeviceTestsQuery)->Unit(benchmark::kMillisecond);

void BM_PlainTrendQueryAndPlotBaseline(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    {
        QSqlDatabase db = PlainConnection();
        QCustomPlot plot;
        plot.resize(500, 330);
        for (int load = 0; load < LOAD_COUNT; ++load)
            plot.addGraph();
        plot.show();
        QApplication::processEvents();
        int device = 0;
        for (auto _ : state) {
            device = (device + 379) % Devices;
            PlotPlainTrend(db, DeviceId(device), plot);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
}
BENCHMARK(BM_PlainTrendQueryAndPlotBaseline)->Unit(benchmark::kMillisecond);

} // namespace
