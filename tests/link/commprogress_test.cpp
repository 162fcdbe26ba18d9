// The communications progress window: the bar, the windows it disables and gives back, the time-out.
#include "link/commprogressform.h"
#include "tests/support/findchild.h"
#include "tests/support/scriptedmessages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

TEST(CommProgress, BarFillsExactlyAfterMaximumSteps) {
    TCommProgress progress(nullptr, 10306, 0, QStringLiteral("Downloading real-time wave data..."));
    EXPECT_EQ(progress.windowTitle(), QStringLiteral("CorvexZR Communications"));
    for (int i = 0; i < 10305; ++i)
        progress.StepIt();
    EXPECT_LT(Child<QProgressBar>(progress, "pbComm")->value(), Child<QProgressBar>(progress, "pbComm")->maximum());
    progress.StepIt();
    EXPECT_EQ(Child<QProgressBar>(progress, "pbComm")->value(), 10306);
    progress.StepIt(); // one too many stays full
    EXPECT_EQ(Child<QProgressBar>(progress, "pbComm")->value(), 10306);
    EXPECT_FALSE(progress.Cancelled());
}

TEST(CommProgress, DisablesTheOtherWindowsAndGivesBackExactlyThose) {
    QWidget main;
    QWidget viewer;
    QWidget alreadyDisabled;
    QWidget hidden;
    main.show();
    viewer.show();
    alreadyDisabled.show();
    alreadyDisabled.setEnabled(false);

    {
        TCommProgress progress(&main, 10, 0, QStringLiteral("x"));
        progress.show();
        EXPECT_TRUE(progress.isEnabled());
        EXPECT_FALSE(main.isEnabled());
        EXPECT_FALSE(viewer.isEnabled());
        progress.close();
        EXPECT_TRUE(main.isEnabled());
        EXPECT_TRUE(viewer.isEnabled());
        EXPECT_FALSE(alreadyDisabled.isEnabled());
        EXPECT_TRUE(hidden.isEnabled());
    }
    {
        // Deleted while shown (its owner going away): the windows still come back.
        auto progress = std::make_unique<TCommProgress>(&main, 10, 0, QStringLiteral("x"));
        progress->show();
        EXPECT_FALSE(main.isEnabled());
        progress.reset();
        EXPECT_TRUE(main.isEnabled());
    }
    {
        // Closed without having been shown: nothing to give back, nothing enabled.
        TCommProgress progress(&main, 10, 0, QStringLiteral("x"));
        progress.close();
        EXPECT_FALSE(alreadyDisabled.isEnabled());
    }
}

TEST(CommProgress, OnlyTheCallerClosesIt) {
    QWidget main;
    main.show();
    TCommProgress progress(&main, 10, 0, QStringLiteral("x"));
    progress.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
    QWindow* window = progress.windowHandle();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(progress.isVisible());
    QCloseEvent close; // what the window system delivers for the window manager's close
    QCoreApplication::sendEvent(window, &close);
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(main.isEnabled());
    progress.close();
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(main.isEnabled());
}

TEST(CommProgress, NoTimeoutWithIntervalZero) {
    ScriptedMessages boxes;
    TCommProgress progress(nullptr, 10, 0, QStringLiteral("x"));
    progress.show();
    QTest::qWait(30);
    EXPECT_FALSE(progress.Cancelled());
    EXPECT_TRUE(boxes.Shown().isEmpty());
}

TEST(CommProgress, TimeoutShowsItsMessageOnce) {
    ScriptedMessages boxes;
    TCommProgress progress(nullptr, 10, 5, QStringLiteral("x"));
    progress.show();
    QTest::qWait(60);
    EXPECT_TRUE(progress.Cancelled());
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("Communications has timed out.     \r\nPlease note this version "
                             "software only works with Corvex firmware V2.0 and above."));
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Communications time out"));
    EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(boxes.Shown()[0].flags & mfTaskModal);
    EXPECT_TRUE(progress.isVisible()); // shown without waiting, it stays open
}
