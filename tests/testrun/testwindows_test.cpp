// The windows of a test as the user meets them: where they open and what F1 shows in each.
#include "base/helptopic.h"
#include "testrun/editinfoform.h"
#include "testrun/testoptionsform.h"
#include "testrun/teststartform.h"
#include "testrun/teststepform.h"
#include "tests/support/recordinghelp.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

class TestWindows : public ::testing::Test {
protected:
    TempSettings settings;
    ScriptedMessages boxes;
    std::unique_ptr<TZRTestRec> rec = std::make_unique<TZRTestRec>();
    uint8_t loads[LOAD_COUNT] = {1, 1, 1, 1, 1, 1, 1};
    AnalyzerLink link; // no analyzer: the windows are only looked at
};

} // namespace

TEST_F(TestWindows, F1ShowsTheSectionOfEachWindow) {
    RecordingHelp help;
    TTestStart start(nullptr, rec.get(), link);
    TTestOptions options(nullptr, loads);
    TTestStep step(nullptr, loads, rec.get(), link);
    TEditInfo editor(nullptr, false, rec.get());
    for (QWidget* window : {static_cast<QWidget*>(&start), static_cast<QWidget*>(&options),
                            static_cast<QWidget*>(&step), static_cast<QWidget*>(&editor)}) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->windowHandle(), Qt::Key_F1);
        window->hide();
    }
    EXPECT_EQ(help.topics, (QStringList{HelpTopicTestStart, HelpTopicLoadSelection, HelpTopicTestStep,
                                        HelpTopicDeviceInfo}));
}

TEST_F(TestWindows, StartWindowIsCentredOnTheScreenAndTheDeviceEditorAtItsDesignedPlace) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget owner; // off the screen's centre: the windows do not follow it
    owner.setGeometry(area.left(), area.top(), 120, 80);
    owner.show();

    TTestStart start(&owner, rec.get(), link);
    start.show();
    EXPECT_EQ(start.pos(), area.center() - QPoint(320, 253));

    TEditInfo editor(&owner, false, rec.get());
    editor.show();
    const QRect shown = editor.frameGeometry();
    EXPECT_TRUE(area.contains(shown)) << "the editor is kept on the screen";
    // Left 453 and top 264, or as near to them as the screen allows.
    EXPECT_TRUE(shown.left() == 453 || shown.right() == area.right()) << shown.left();
    EXPECT_TRUE(shown.top() == 264 || shown.bottom() == area.bottom()) << shown.top();
}
