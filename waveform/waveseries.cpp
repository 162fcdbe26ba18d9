#include "waveform/waveseries.h"

#include <algorithm>
#include <cmath>

WaveSeriesData WaveSeriesPoints(const TZRTest& test, const TLoadResults& results) {
    const TSampleAmps amps = SampleToAmps(test, results);
    WaveSeriesData data;
    data.keys.resize(SAMPLE_COUNT);
    data.values.resize(SAMPLE_COUNT);
    const double interval = SampleInterval;
    for (int j = 0; j < SAMPLE_COUNT; ++j) {
        data.keys[j] = j * interval;
        data.values[j] = amps[j];
    }
    return data;
}

namespace {

double SquaredDistanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0.0 ? QPointF::dotProduct(p - a, ab) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return QPointF::dotProduct(d, d);
}

double SquaredDistance(QPointF a, QPointF b) {
    return QPointF::dotProduct(a - b, a - b);
}

} // namespace

int HitTestLine(const WaveSeriesData& data, const AxisPixels& x, const AxisPixels& y, QPointF mouse,
                double tolerance) {
    const qsizetype n = std::min(data.keys.size(), data.values.size());
    if (n == 0 || x.max == x.min || y.max == y.min)
        return -1;
    double k1 = x.ToValue(mouse.x() - tolerance);
    double k2 = x.ToValue(mouse.x() + tolerance);
    if (k1 > k2)
        std::swap(k1, k2);
    // Segments that can pass near the mouse start at the last point left of k1 and end at the first
    // point right of k2.
    const auto begin = data.keys.cbegin();
    qsizetype first = std::lower_bound(begin, begin + n, k1) - begin - 1;
    qsizetype last = std::upper_bound(begin, begin + n, k2) - begin;
    first = std::max<qsizetype>(first, 0);
    last = std::min<qsizetype>(last, n - 1);

    const double limit = tolerance * tolerance;
    int best = -1;
    double bestDistance = 0.0;
    auto pixel = [&](qsizetype i) { return QPointF(x.ToPixel(data.keys[i]), y.ToPixel(data.values[i])); };
    auto consider = [&](qsizetype i) {
        if (std::isnan(data.values[i]))
            return;
        const double d = SquaredDistance(pixel(i), mouse);
        if (best < 0 || d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    };
    if (first == last) {
        if (!std::isnan(data.values[first]) && SquaredDistance(pixel(first), mouse) <= limit)
            return static_cast<int>(first);
        return -1;
    }
    for (qsizetype i = first; i < last; ++i) {
        if (std::isnan(data.values[i]) || std::isnan(data.values[i + 1]))
            continue; // a gap in the line
        if (SquaredDistanceToSegment(mouse, pixel(i), pixel(i + 1)) <= limit) {
            consider(i);
            consider(i + 1);
        }
    }
    return best;
}
