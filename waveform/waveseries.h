#pragma once
// The points of one load's waveform on the chart, and the hit test of a mouse position against a
// drawn line.

#include "records/loadresults.h"

#include <QPointF>
#include <QVector>

// Keys in msec (sample j at j x SampleInterval, taken in double precision) and values in amperes.
struct WaveSeriesData {
    QVector<double> keys;
    QVector<double> values;
};

WaveSeriesData WaveSeriesPoints(const TZRTest& test, const TLoadResults& results);

// A linear axis as drawn: the value `min` lies at pixel `pixelMin`, `max` at pixel `pixelMax`
// (for a vertical axis the minimum is at the bottom, so pixelMin > pixelMax).
struct AxisPixels {
    double min = 0.0;
    double max = 1.0;
    double pixelMin = 0.0;
    double pixelMax = 1.0;

    double ToPixel(double value) const {
        return pixelMin + (value - min) / (max - min) * (pixelMax - pixelMin);
    }
    double ToValue(double pixel) const {
        return min + (pixel - pixelMin) / (pixelMax - pixelMin) * (max - min);
    }
};

// How far, in pixels, the mouse may be from a line or a data point and still be on it.
constexpr double HitTolerancePixels = 3.0;

// The index of the data point nearest to `mouse` on a segment of the line (keys ascending) that
// passes within `tolerance` pixels of it, or -1 when the line is not under the mouse. Only the
// segments around the mouse's horizontal position are examined.
int HitTestLine(const WaveSeriesData& data, const AxisPixels& x, const AxisPixels& y, QPointF mouse,
                double tolerance = HitTolerancePixels);
