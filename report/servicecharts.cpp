// The service report's waveforms: every tested load on one chart, then a small chart per load, drawn
// by the waveform viewer's chart as vector graphics, in its colours and with its axes (A, msec).
#include "report/servicereportparts.h"
#include "waveform/chartlimits.h"
#include "waveform/wavechart.h"
#include "waveform/wavetexts.h"

#include <memory>

namespace {

constexpr double HeadingHeight = 20.0;
constexpr double OverlayHeight = 280.0;
constexpr double SmallHeight = 165.0;
constexpr double SmallGap = 12.0;
constexpr int SmallPerRow = 2;

// A load with its colour on the chart of all loads.
struct ChartLoad {
    int load;
    QColor colour;
};

// The chart of `loads`, its current axis fitted to their largest excursion as the viewer fits it.
std::unique_ptr<TWaveChart> MakeChart(const TZRTestRec& rec, const std::vector<ChartLoad>& loads,
                                      const QString& title, bool legend, const QLocale& locale) {
    auto chart = std::make_unique<TWaveChart>();
    chart->setLocale(locale); // the numbers of the axes
    chart->SetTitleLines({title});
    double largest = 0.0;
    double smallest = 0.0;
    for (const ChartLoad& l : loads) {
        const TZRTest& test = rec.Loads[l.load];
        const int series = chart->AddSeries(LoadName(l.load), l.colour,
                                            WaveSeriesPoints(test, ComputeLoadResults(test, l.load)));
        const AxisRange values = chart->SeriesValueRange(series);
        largest = std::max(largest, values.max);
        smallest = std::min(smallest, values.min);
    }
    const double limit = FitCurrentLimit(largest, smallest);
    chart->SetCurrentAxis({-limit, limit});
    chart->SetLegendVisible(legend);
    return chart;
}

void DrawChart(const TPdfCanvas& canvas, const QRectF& box, TWaveChart& chart) {
    chart.Render(canvas.Painter(), canvas.ToDevice(box));
    canvas.Frame(box, PdfRule);
}

} // namespace

std::vector<TPdfBlock> WaveformBlocks(const TZRTestRec& rec, const QLocale& locale) {
    std::vector<ChartLoad> loads;
    for (int load = 0; load < LOAD_COUNT; ++load) {
        if (rec.Loads[load].HasData == 0)
            continue;
        const SeriesRgb rgb = SeriesColour(static_cast<int>(loads.size()));
        loads.push_back({load, QColor(rgb.r, rgb.g, rgb.b)});
    }
    if (loads.empty())
        return {};

    std::vector<TPdfBlock> blocks;
    TPdfBlock overlay;
    overlay.startsPage = true;
    overlay.height = HeadingHeight + OverlayHeight;
    overlay.draw = [&rec, loads, locale](const TPdfCanvas& canvas, const QRectF& box) {
        DrawSectionHeading(canvas, box, QStringLiteral("Waveforms"));
        const auto chart = MakeChart(rec, loads, QStringLiteral("All tested loads"), true, locale);
        DrawChart(canvas, box.adjusted(0, HeadingHeight, 0, 0), *chart);
    };
    blocks.push_back(overlay);

    for (size_t first = 0; first < loads.size(); first += SmallPerRow) {
        const std::vector<ChartLoad> row(loads.begin() + first,
                                         loads.begin() + std::min(loads.size(), first + SmallPerRow));
        TPdfBlock small;
        small.height = SmallHeight;
        small.draw = [&rec, row, locale](const TPdfCanvas& canvas, const QRectF& box) {
            const double width = (box.width() - SmallGap * (SmallPerRow - 1)) / SmallPerRow;
            double left = box.left();
            for (const ChartLoad& l : row) {
                const auto chart = MakeChart(rec, {l}, LoadName(l.load), false, locale);
                DrawChart(canvas, QRectF(left, box.top(), width, box.height()), *chart);
                left += width + SmallGap;
            }
        };
        blocks.push_back(small);
    }
    return blocks;
}
