#include "waveform/chartlimits.h"

#include <array>
#include <cstdlib>

double FitCurrentLimit(double largestY, double smallestY) {
    const double excursion = largestY > -smallestY ? largestY : -smallestY;
    for (double limit : std::array{5.0, 10.0, 20.0, 50.0, 100.0, 150.0})
        if (excursion < limit)
            return limit;
    return 200.0;
}

AxisRange ZoomedRange(AxisRange range, double percent) {
    const double d = (range.max - range.min) * (percent - 100.0) / 100.0;
    return {range.min + d, range.max - d};
}

AxisRange StepRange(AxisRange from, AxisRange to, int step, int steps) {
    if (step >= steps)
        return to;
    const double f = static_cast<double>(step) / steps;
    return {from.min + (to.min - from.min) * f, from.max + (to.max - from.max) * f};
}

ZoomDrag ClassifyZoomDrag(QPoint start, QPoint end) {
    const int dx = end.x() - start.x();
    const int dy = end.y() - start.y();
    if (std::abs(dx) <= ZoomDragMinimumPixels || std::abs(dy) <= ZoomDragMinimumPixels)
        return ZoomDrag::None;
    return dx > 0 && dy > 0 ? ZoomDrag::ZoomToRect : ZoomDrag::UndoZoom;
}
