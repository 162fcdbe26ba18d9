// The Test Library window on a library of 10 000 tests (1000 devices, each tested once a year for ten
// years) and one busy device of 300 tests (monthly for 25 years, on three analyzers, some at another
// energy): opening the window until its device list and trend chart are painted, and choosing another
// device (or the busy one) until its tests are listed and its trend is drawn; beside them the store's two
// queries alone, and baselines that do the same with plain queries into a bare table and a bare plot. The
// library is built once per run through the library's own Add (about 20 s).
#include "bench/paintcounter.h"
#include "bench/plaintrend.h"
#include "library/libraryworker.h"
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
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <functional>

namespace {

constexpr int Devices = 1000;
constexpr int TestsPerDevice = 10;
constexpr int BusyTests = 300;
const QString BusyDevice = QStringLiteral("DEF-BUSY"); // listed after every other device

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

// Counts the paints once the library's worker has answered: the window is up before its data.
class AnsweredPaintCounter : public PaintCounter {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (ProgramLibraryWorker().Pending() == 0)
            PaintCounter::eventFilter(watched, event);
        return false;
    }
};

// Lets the application work until `done`, for up to ten seconds.
bool WorkUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QApplication::processEvents();
    return done();
}

// Shows `window` and lets the application work until each of `painted` has been painted once with
// what the library answered.
bool ShowUntilAllPainted(QWidget* window, std::initializer_list<QWidget*> painted) {
    std::vector<std::unique_ptr<AnsweredPaintCounter>> counters;
    for (QWidget* widget : painted) {
        counters.push_back(std::make_unique<AnsweredPaintCounter>());
        widget->installEventFilter(counters.back().get());
    }
    window->show();
    return WorkUntil([&] {
        return std::all_of(counters.begin(), counters.end(), [](const auto& c) { return c->paints > 0; });
    });
}

void BM_OpenTestLibraryWindowUntilPainted(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    for (auto _ : state) {
        auto* window = new TTestLibraryWindow(nullptr);
        if (!ShowUntilAllPainted(window, {Child<QTableView>(*window, "tblDevices")->viewport(),
                                          Child<TTrendChart>(*window, "chartTrend")}))
            state.SkipWithError("the window was never painted");
        state.PauseTiming(); // closing writes the placement to the settings file
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenTestLibraryWindowUntilPainted)->Unit(benchmark::kMillisecond);

void BM_ChooseDeviceUntilTrendPainted(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    TTestLibraryWindow window;
    window.show();
    WorkUntil([] { return ProgramLibraryWorker().Pending() == 0; });
    auto* devices = Child<QTableView>(window, "tblDevices");
    auto* chart = Child<TTrendChart>(window, "chartTrend");
    int row = 0;
    for (auto _ : state) {
        row = (row + 379) % devices->model()->rowCount(); // all over the pages read (200 devices a page)
        AnsweredPaintCounter counter;
        chart->installEventFilter(&counter);
        devices->selectRow(row);
        WorkUntil([&] { return counter.paints > 0; });
        chart->removeEventFilter(&counter);
        if (counter.paints == 0 || chart->graphCount() == 0)
            state.SkipWithError("the trend was never painted");
    }
}
BENCHMARK(BM_ChooseDeviceUntilTrendPainted)->Unit(benchmark::kMillisecond);

void BM_ChooseBusyDeviceUntilTrendPainted(benchmark::State& state) {
    if (!UseLibrary(state))
        return;
    TTestLibraryWindow window;
    window.show();
    QApplication::processEvents();
    auto* devices = Child<QTableView>(window, "tblDevices");
    auto* chart = Child<TTrendChart>(window, "chartTrend");
    for (auto _ : state) {
        state.PauseTiming(); // away from it first, so that choosing it draws it again
        devices->selectRow(0);
        QApplication::processEvents();
        state.ResumeTiming();
        PaintCounter counter;
        chart->installEventFilter(&counter);
        devices->selectRow(Devices); // the busy device
        for (int i = 0; i < 100 && counter.paints == 0; ++i)
            QApplication::processEvents();
        chart->removeEventFilter(&counter);
        if (counter.paints == 0 || chart->graphCount() == 0)
            state.SkipWithError("the trend was never painted");
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
            while (q.next()) {
                QList<QStandardItem*> row;
                for (int column = 0; column < 9; ++column)
                    row << new QStandardItem(q.value(column).toString());
                model.appendRow(row);
            }
            QWidget window;
            window.resize(980, 680);
            auto* view = new QTableView(&window);
            view->resize(960, 230);
            view->setModel(&model);
            auto* plot = new QCustomPlot(&window);
            plot->setGeometry(0, 240, 500, 330);
            plot->addGraph()->setData({1, 2, 3}, {200, 201, 199});
            plot->rescaleAxes();
            if (!ShowUntilAllPainted(&window, {view->viewport(), plot}))
                state.SkipWithError("the table was never painted");
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
