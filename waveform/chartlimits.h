#pragma once
// Axis arithmetic of the waveform chart: the current range that fits a waveform, zooming by
// percentage, the animation steps between two views, the view to return to on Undo Zoom and what a
// rectangle drag means. Pure functions and values, no widgets.

#include <QPoint>
#include <optional>
#include <utility>

struct AxisRange {
    double min = 0.0;
    double max = 0.0;
    friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// One axis as the chart holds it: automatic (spanning the data) or fixed at its limits.
struct AxisState {
    bool automatic = true;
    AxisRange range;
    friend bool operator==(const AxisState&, const AxisState&) = default;
};

struct ChartAxesState {
    AxisState bottom; // time (msec)
    AxisState left;   // current (A)
    friend bool operator==(const ChartAxesState&, const ChartAxesState&) = default;
};

// The current axis runs from -L to +L, with L the first of 5, 10, 20, 50, 100, 150 A above the
// largest excursion of the waveform (either sign), else 200 A.
double FitCurrentLimit(double largestY, double smallestY);

// Zoom about the centre of the view: 110 narrows the range by a tenth of its span at each end, 90
// widens it by a tenth at each end.
AxisRange ZoomedRange(AxisRange range, double percent);

constexpr int ZoomAnimationSteps = 4;

// The range shown at animation step `step` (1..steps) on the way from `from` to `to`; the last step
// is exactly `to`.
AxisRange StepRange(AxisRange from, AxisRange to, int step, int steps = ZoomAnimationSteps);

// Keeps the view that Undo Zoom returns to: the axes as they were just before the first zoom or pan
// since the chart was created or last undid a zoom.
class ZoomHistory {
public:
    // Called with the axes as they are, just before a zoom or pan changes them.
    void NoteBeforeChange(const ChartAxesState& before) {
        if (!m_saved)
            m_saved = before;
    }
    // The view to return to (none when nothing was zoomed or panned since the last undo), and the
    // chart is no longer zoomed.
    std::optional<ChartAxesState> TakeUndo() { return std::exchange(m_saved, std::nullopt); }
    bool IsZoomed() const { return m_saved.has_value(); }

private:
    std::optional<ChartAxesState> m_saved;
};

// A rectangle dragged with the mouse in rectangle-zoom mode: more than 16 pixels wide and high
// towards the lower right zooms to it, as large in any other direction undoes the zoom, anything
// smaller does nothing.
constexpr int ZoomDragMinimumPixels = 16;
enum class ZoomDrag { None, ZoomToRect, UndoZoom };
ZoomDrag ClassifyZoomDrag(QPoint start, QPoint end);
