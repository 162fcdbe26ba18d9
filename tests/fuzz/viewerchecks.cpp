#include "tests/fuzz/viewerchecks.h"

#include "tests/fuzz/fuzzcheck.h"
#include "waveform/chartlimits.h"
#include "waveform/waveseries.h"
#include "waveform/wavetexts.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QLocale German(QLocale::German, QLocale::Germany);

// The plot area of a viewer window of the usual size, in pixels.
constexpr double PlotLeft = 60.0;
constexpr double PlotRight = 760.0;
constexpr double PlotBottom = 480.0;
constexpr double PlotTop = 20.0;

void CheckSeries(const WaveSeriesData& data) {
    FuzzCheck(data.keys.size() == SAMPLE_COUNT && data.values.size() == SAMPLE_COUNT, "series size");
    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        FuzzCheck(data.keys[j] == j * static_cast<double>(SampleInterval), "series key");
        FuzzCheck(std::isfinite(data.values[j]), "series value finite");
    }
}

void CheckFitCurrentLimit(double largest, double smallest, double limit) {
    static constexpr std::array<double, 7> Limits{5.0, 10.0, 20.0, 50.0, 100.0, 150.0, 200.0};
    const auto at = std::find(Limits.begin(), Limits.end(), limit);
    FuzzCheck(at != Limits.end(), "current limit is one of the steps");
    const double excursion = std::max(largest, -smallest);
    if (limit < 200.0)
        FuzzCheck(excursion < limit, "current limit above the excursion");
    if (at != Limits.begin())
        FuzzCheck(excursion >= *(at - 1), "current limit is the first step above the excursion");
}

// The read-out in the C locale, with its thousands separators taken out, is the value to three decimals.
void CheckReadout(double value) {
    const QString c = FormatCurrentReadout(value, QLocale::c());
    const QString german = FormatCurrentReadout(value, German);
    FuzzCheck(!HasNonFiniteText(c) && !HasNonFiniteText(german), "read-out holds nan or inf");
    QString plain = c;
    plain.remove(QLatin1Char(','));
    bool ok = false;
    const double parsed = plain.toDouble(&ok);
    FuzzCheck(ok, "read-out is a number");
    FuzzCheck(std::fabs(parsed - value) <= 0.0005 + 1e-12 * std::fabs(value), "read-out is the value");
}

// The mouse on a drawn data point hits the line at a point drawn at the mouse; 100 pixels above the
// plot it misses a line that stays inside the plot.
void CheckHitTest(const WaveSeriesData& data, const AxisPixels& x, const AxisPixels& y, int index,
                  bool insidePlot) {
    const QPointF mouse(x.ToPixel(data.keys[index]), y.ToPixel(data.values[index]));
    const int hit = HitTestLine(data, x, y, mouse);
    FuzzCheck(hit >= 0 && hit < SAMPLE_COUNT, "a point under the mouse is hit");
    const double dx = x.ToPixel(data.keys[hit]) - mouse.x();
    const double dy = y.ToPixel(data.values[hit]) - mouse.y();
    FuzzCheck(dx * dx + dy * dy <= 1e-6, "the nearest point is the one under the mouse");
    if (insidePlot)
        FuzzCheck(HitTestLine(data, x, y, QPointF(mouse.x(), PlotTop - 100.0)) < 0,
                  "the mouse above the plot misses");
    CheckReadout(y.ToValue(mouse.y()));
}

void CheckPanelTexts(const TLoadResults& results) {
    for (const WaveDetailRow& row : WaveDetailRows()) {
        for (const QLocale& locale : {QLocale::c(), German}) {
            const QString text = WaveDetailText(row, results, locale);
            FuzzCheck(!HasNonFiniteText(text), "panel text holds nan or inf");
            FuzzCheck(row.value ? text.endsWith(QLatin1String(row.unit)) && text.size() > 2 : text.isEmpty(),
                      "panel text is a number and its unit, or nothing for a heading");
        }
    }
}

} // namespace

void CheckViewerOfLoad(const TZRTest& test, const TLoadResults& results) {
    const WaveSeriesData data = WaveSeriesPoints(test, results);
    CheckSeries(data);
    const auto [smallest, largest] = std::minmax_element(data.values.cbegin(), data.values.cend());
    const double limit = FitCurrentLimit(*largest, *smallest);
    CheckFitCurrentLimit(*largest, *smallest, limit);
    const bool insidePlot = std::max(*largest, -*smallest) < limit;

    // The whole waveform, then a zoom in by 110 % three times with its animation steps.
    AxisRange time{0.0, data.keys.back()};
    AxisRange current{-limit, limit};
    const std::array<int, 5> points{0, static_cast<int>(smallest - data.values.cbegin()),
                                    static_cast<int>(largest - data.values.cbegin()), SAMPLE_COUNT / 2,
                                    SAMPLE_COUNT - 1};
    for (int zoom = 0; zoom < 4; ++zoom) {
        const AxisPixels x{time.min, time.max, PlotLeft, PlotRight};
        const AxisPixels y{current.min, current.max, PlotBottom, PlotTop};
        for (int index : points)
            if (zoom == 0 || (data.keys[index] >= time.min && data.keys[index] <= time.max))
                CheckHitTest(data, x, y, index, insidePlot && zoom == 0);
        const AxisRange nextTime = ZoomedRange(time, 110);
        FuzzCheck(nextTime.min > time.min && nextTime.max < time.max, "zooming in narrows the time range");
        FuzzCheck(StepRange(time, nextTime, ZoomAnimationSteps) == nextTime, "the last step is the target");
        time = nextTime;
        current = ZoomedRange(current, 110);
    }

    for (double value : {*smallest, *largest, -limit, limit, limit / 2})
        CheckReadout(value);
    CheckPanelTexts(results);
}

void CheckChartTitle(const QString& deviceId, const QString& dateText) {
    const QStringList lines = ChartTitleLines(deviceId, dateText);
    FuzzCheck(lines.size() == 2 && lines[0] == QStringLiteral("Device ID: ") + deviceId &&
                  lines[1] == dateText,
              "chart title lines");
}
