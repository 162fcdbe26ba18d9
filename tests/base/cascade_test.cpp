// Where the live waveform viewers of a test and new report viewers open.
#include "base/cascade.h"

#include <gtest/gtest.h>

namespace {

const QRect Screen(0, 0, 1920, 1050);
const QRect StepWindow(640, 280, 642, 500);
const QSize Viewer(760, 550);

TEST(CascadeFrame, ViewersOpenBesideTheWindowAndClearOfTheSimulatorWithoutHidingEachOther) {
    const QRect simulator(1500, 40, 400, 700);
    QList<QRect> frames;
    for (int i = 0; i < 20; ++i)
        frames << CascadeFrame(Screen, {StepWindow, simulator}, Viewer, i);
    for (int i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Screen.contains(frames[i]));
        EXPECT_FALSE(frames[i].intersects(StepWindow));
        EXPECT_FALSE(frames[i].intersects(simulator));
        // The left side has 640 pixels, the right side only 218 once the Simulator is out; however
        // long the cascade, every viewer keeps the size of the first.
        EXPECT_EQ(frames[i].size(), QSize(640, 550));
    }
    // Each one down a column leaves the title bar of the one before it in view; the column holds
    // as many as the screen's height has room for, and the next starts again at the top.
    // (500 pixels to spare: eighteen).
    for (int i = 1; i < 18; ++i)
        EXPECT_EQ(frames[i].top() - frames[i - 1].top(), CascadeStep) << i;
    EXPECT_EQ(frames[18].top(), Screen.top());
}

TEST(CascadeFrame, AScreenWithNoRoomBesideTheWindowCascadesOverItInColumns) {
    const QRect small(0, 0, 1024, 768);
    const QRect step(191, 134, 642, 500);
    QList<QRect> frames;
    for (int i = 0; i < 16; ++i)
        frames << CascadeFrame(small, {step}, Viewer, i);
    EXPECT_EQ(frames[0].topLeft(), small.topLeft());
    EXPECT_EQ(frames[1].topLeft() - frames[0].topLeft(), QPoint(CascadeStep, CascadeStep));
    for (int i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(small.contains(frames[i]));
        EXPECT_EQ(frames[i].size(), Viewer);
        for (int j = 0; j < i; ++j)
            EXPECT_NE(frames[i].topLeft(), frames[j].topLeft()) << j;
    }
    // 218 pixels to spare in height: eight down a column, then a new column at the top.
    EXPECT_EQ(frames[8].topLeft(), QPoint(CascadeStep, 0));
}

TEST(CascadeClear, ANewWindowStepsAsideFromTheOnesOnItsPlaceAndStaysOnTheScreen) {
    const QSize size(670, 630);
    const QPoint wanted(625, 210);
    EXPECT_EQ(CascadeClear(Screen, size, wanted, {}), wanted);
    EXPECT_EQ(CascadeClear(Screen, size, wanted, {QPoint(0, 0)}), wanted);
    const QPoint second = wanted + QPoint(CascadeStep, CascadeStep);
    EXPECT_EQ(CascadeClear(Screen, size, wanted, {wanted}), second);
    EXPECT_EQ(CascadeClear(Screen, size, wanted, {second, wanted}),
              second + QPoint(CascadeStep, CascadeStep));
    // Past the bottom of the screen the cascade starts again at its top left corner.
    const QPoint low(625, 1050 - 630);
    EXPECT_EQ(CascadeClear(Screen, size, low, {low}), Screen.topLeft());
}

} // namespace
