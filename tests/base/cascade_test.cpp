// Where the live waveform viewers of a test open.
#include "base/cascade.h"

#include <gtest/gtest.h>

namespace {

const QRect Screen(0, 0, 1920, 1050);
const QRect StepWindow(640, 280, 642, 500);
const QSize Viewer(760, 550);

TEST(CascadeFrame, ViewersOpenBesideTheWindowAndClearOfTheSimulatorWithoutHidingEachOther) {
    const QRect simulator(1500, 40, 400, 700);
    QList<QRect> frames;
    for (int i = 0; i < 8; ++i)
        frames << CascadeFrame(Screen, {StepWindow, simulator}, Viewer, i);
    for (int i = 0; i < frames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(Screen.contains(frames[i]));
        EXPECT_FALSE(frames[i].intersects(StepWindow));
        EXPECT_FALSE(frames[i].intersects(simulator));
        EXPECT_GE(frames[i].width(), 360);
        // Each one leaves the title bar of the one before it in view.
        if (i > 0) {
            EXPECT_GE(frames[i].top() - frames[i - 1].top(), CascadeStep);
        }
    }
    // The left side has 640 pixels; the right side only 218 once the Simulator is out.
    EXPECT_LT(frames[0].right(), StepWindow.left());
    EXPECT_EQ(frames[0].size(), QSize(640, 550));
    // The ninth starts the cascade again.
    EXPECT_EQ(CascadeFrame(Screen, {StepWindow, simulator}, Viewer, 8), frames[0]);
}

TEST(CascadeFrame, AScreenWithNoRoomBesideTheWindowCascadesOverIt) {
    const QRect small(0, 0, 1024, 768);
    const QRect step(191, 134, 642, 500);
    const QRect first = CascadeFrame(small, {step}, Viewer, 0);
    const QRect second = CascadeFrame(small, {step}, Viewer, 1);
    EXPECT_EQ(first.topLeft(), small.topLeft());
    EXPECT_EQ(second.topLeft() - first.topLeft(), QPoint(CascadeStep, CascadeStep));
    EXPECT_TRUE(small.contains(second));
}

} // namespace
