// The chart's axis arithmetic: the current range that fits a waveform, zooming, the animation steps,
// the view Undo Zoom returns to and what a rectangle drag means.
#include "waveform/chartlimits.h"

#include <gtest/gtest.h>

TEST(FitCurrentLimit, TakesTheFirstStepAboveTheLargestExcursion) {
    EXPECT_EQ(FitCurrentLimit(4.99, 0.0), 5.0);
    EXPECT_EQ(FitCurrentLimit(5.0, 0.0), 10.0); // strictly below the limit
    EXPECT_EQ(FitCurrentLimit(30.0, -2.0), 50.0);
    EXPECT_EQ(FitCurrentLimit(149.99, 0.0), 150.0);
    EXPECT_EQ(FitCurrentLimit(150.0, 0.0), 200.0);
    EXPECT_EQ(FitCurrentLimit(1000.0, 0.0), 200.0);
    EXPECT_EQ(FitCurrentLimit(0.0, 0.0), 5.0);
}

TEST(FitCurrentLimit, CountsNegativeExcursionsToo) {
    EXPECT_EQ(FitCurrentLimit(3.0, -12.0), 20.0);
    EXPECT_EQ(FitCurrentLimit(-1.0, -99.0), 100.0);
}

TEST(ZoomedRange, NarrowsOrWidensByATenthAtEachEnd) {
    EXPECT_EQ(ZoomedRange({0.0, 50.0}, 110.0), (AxisRange{5.0, 45.0}));
    EXPECT_EQ(ZoomedRange({0.0, 50.0}, 90.0), (AxisRange{-5.0, 55.0}));
    EXPECT_EQ(ZoomedRange({-50.0, 50.0}, 110.0), (AxisRange{-40.0, 40.0}));
    EXPECT_EQ(ZoomedRange({-50.0, 50.0}, 100.0), (AxisRange{-50.0, 50.0}));
}

TEST(StepRange, MovesEvenlyAndEndsExactlyOnTheTarget) {
    const AxisRange from{0.0, 50.0};
    const AxisRange to{5.0, 45.0};
    EXPECT_EQ(StepRange(from, to, 1), (AxisRange{1.25, 48.75}));
    EXPECT_EQ(StepRange(from, to, 2), (AxisRange{2.5, 47.5}));
    EXPECT_EQ(StepRange(from, to, 3), (AxisRange{3.75, 46.25}));
    EXPECT_EQ(StepRange(from, to, 4), to);
    EXPECT_EQ(StepRange({0.1, 0.7}, {0.3, 0.9}, ZoomAnimationSteps), (AxisRange{0.3, 0.9}));
}

TEST(ZoomHistory, KeepsTheViewBeforeTheFirstChangeUntilUndone) {
    const ChartAxesState opening{{true, {0.0, 58.36}}, {false, {-50.0, 50.0}}};
    const ChartAxesState zoomed{{false, {5.0, 53.0}}, {false, {-40.0, 40.0}}};
    const ChartAxesState panned{{false, {7.0, 55.0}}, {false, {-38.0, 42.0}}};
    ZoomHistory history;
    EXPECT_FALSE(history.IsZoomed());
    EXPECT_FALSE(history.TakeUndo().has_value());

    history.NoteBeforeChange(opening);
    history.NoteBeforeChange(zoomed);
    history.NoteBeforeChange(panned);
    EXPECT_TRUE(history.IsZoomed());
    EXPECT_EQ(history.TakeUndo(), opening);
    EXPECT_FALSE(history.IsZoomed());
    EXPECT_FALSE(history.TakeUndo().has_value());

    // After an undo the next change starts a new history.
    history.NoteBeforeChange(panned);
    EXPECT_EQ(history.TakeUndo(), panned);
}

TEST(ClassifyZoomDrag, LowerRightZoomsOtherDirectionsUndo) {
    const QPoint start(100, 100);
    EXPECT_EQ(ClassifyZoomDrag(start, {140, 150}), ZoomDrag::ZoomToRect);
    EXPECT_EQ(ClassifyZoomDrag(start, {60, 50}), ZoomDrag::UndoZoom);  // upper left
    EXPECT_EQ(ClassifyZoomDrag(start, {140, 50}), ZoomDrag::UndoZoom); // upper right
    EXPECT_EQ(ClassifyZoomDrag(start, {60, 150}), ZoomDrag::UndoZoom); // lower left
}

TEST(ClassifyZoomDrag, DragsOfSixteenPixelsOrLessDoNothing) {
    const QPoint start(100, 100);
    EXPECT_EQ(ClassifyZoomDrag(start, {116, 116}), ZoomDrag::None);
    EXPECT_EQ(ClassifyZoomDrag(start, {117, 117}), ZoomDrag::ZoomToRect);
    EXPECT_EQ(ClassifyZoomDrag(start, {84, 84}), ZoomDrag::None);
    EXPECT_EQ(ClassifyZoomDrag(start, {83, 83}), ZoomDrag::UndoZoom);
    // Wide but flat, or tall but narrow: not big enough.
    EXPECT_EQ(ClassifyZoomDrag(start, {300, 110}), ZoomDrag::None);
    EXPECT_EQ(ClassifyZoomDrag(start, {90, 300}), ZoomDrag::None);
    EXPECT_EQ(ClassifyZoomDrag(start, start), ZoomDrag::None);
}
