#pragma once
// Where the Test Library window's benchmarks stop their clock, for a library of any size: the window
// opened until its first devices and trend are painted, a device chosen until its trend is painted. The
// window reads on the library's worker, so a paint before the worker has answered is not the answer.

#include "bench/paintcounter.h"
#include "library/libraryworker.h"
#include "libraryview/testlibrarywindow.h"
#include "libraryview/trendchart.h"
#include "tests/support/findchild.h"

#include <QTableView>
#include <benchmark/benchmark.h>

inline bool WorkerAnswered() {
    return ProgramLibraryWorker().Pending() == 0;
}

inline QTableView* DeviceTable(const QWidget& window) {
    return Child<QTableView>(window, "tblDevices");
}

inline TTrendChart* TrendChart(const QWidget& window) {
    return Child<TTrendChart>(window, "chartTrend");
}

// Each round opens a window until its list holds the first page of devices and its chart the first
// device's trend, both painted; closing it is not timed (it writes the placement to the settings file).
inline void TimeOpeningUntilPainted(benchmark::State& state) {
    for (auto _ : state) {
        auto* window = new TTestLibraryWindow(nullptr);
        bool painted = false;
        {
            QTableView* devices = DeviceTable(*window);
            TTrendChart* chart = TrendChart(*window);
            PaintWait wait({{devices->viewport(), [devices] { return devices->model()->rowCount() > 0; }},
                            {chart, [chart] { return chart->graphCount() > 0; }}});
            window->show();
            painted = wait.Done();
        }
        state.PauseTiming();
        delete window;
        if (!painted) {
            state.SkipWithError("the window never showed its first devices and trend");
            break;
        }
        state.ResumeTiming();
    }
}

// Chooses `row` and works until the chosen device's trend is painted; false when it never was.
inline bool ChooseUntilTrendPainted(QTableView* devices, TTrendChart* chart, int row) {
    PaintWait wait({{chart, WorkerAnswered}});
    devices->selectRow(row);
    return wait.Done() && chart->graphCount() > 0;
}
