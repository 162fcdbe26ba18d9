// The waveform viewer as a window: editing the device ID, the information panel, placement in the
// settings file, closing and its opener.
#include "tests/waveform/chartevents.h"
#include "tests/waveform/viewerfixture.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>

namespace {

using Viewer = ViewerTest;

void Click(QWidget* widget) {
    SendMouse(widget, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, QPoint(2, 2), Qt::LeftButton, Qt::NoButton);
}

QPoint CentredFor(QSize size) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return area.center() - QPoint(size.width() / 2, size.height() / 2);
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class DeviceID : public ViewerTest {
protected:
    void SetUp() override {
        Open({0, 3});
        edit = Find<QLineEdit>("editDeviceID");
        label = Find<QLabel>("lblDeviceID");
    }
    // Clicks the device ID label and types over its text.
    void StartEditing(const QString& text) {
        Click(label);
        ASSERT_TRUE(edit->isVisible());
        ASSERT_TRUE(label->isHidden());
        EXPECT_EQ(edit->text(), "BME-0042");
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void ExpectCommitted(const QString& text) {
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(Chart()->TitleLines().value(0), "Device ID: " + text);
        EXPECT_TRUE(label->isVisible());
        EXPECT_TRUE(edit->isHidden());
    }

    QLineEdit* edit = nullptr;
    QLabel* label = nullptr;
};

TEST_F(DeviceID, EnterPutsTheTextIntoTheLabelAndTheTitle) {
    StartEditing("DEF-7");
    QTest::keyClick(edit, Qt::Key_Return);
    ExpectCommitted("DEF-7");
    EXPECT_EQ(record->GetDeviceInfo(diDeviceID), "BME-0042"); // the opener's record is untouched
}

TEST_F(DeviceID, EscapeLeavesLabelAndTitleUnchanged) {
    StartEditing("DEF-7");
    QTest::keyClick(edit, Qt::Key_Escape);
    ExpectCommitted("BME-0042");
    // The next edit starts again from the label's text.
    StartEditing("X");
    QTest::keyClick(edit, Qt::Key_Enter);
    ExpectCommitted("X");
}

TEST_F(DeviceID, ClickingElsewhereCommits) {
    const char* targets[] = {"chartWave", "panelInfoContents", "lblDate",
                             "dtScale",   "lblAmpsP1",         "tbWaveViewer"};
    for (const char* target : targets) {
        const QString typed = QStringLiteral("ID %1").arg(QString::fromLatin1(target).left(8));
        StartEditing(typed);
        Click(Find(target));
        ExpectCommitted(typed);
        label->setText("BME-0042");
    }
}

TEST_F(DeviceID, TheWaveListDoesNotCommit) {
    StartEditing("ABC");
    Click(Find<QComboBox>("cboxWaveDetails"));
    Click(Find("gbWaveDetails"));
    EXPECT_TRUE(edit->isVisible());
}

TEST_F(DeviceID, SwitchingToAnotherWindowCommits) {
    StartEditing("AWAY");
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(viewer, &deactivate);
    ExpectCommitted("AWAY");
}

TEST_F(DeviceID, TypingStopsAtSixteenCharacters) {
    StartEditing("0123456789ABCDEFGHIJ");
    EXPECT_EQ(edit->text(), "0123456789ABCDEF");
}

TEST_F(DeviceID, MenuStartsEditingAndAgainWhileEditingChangesNothing) {
    Action("mmEditDeviceID")->trigger();
    EXPECT_TRUE(edit->isVisible());
    edit->setText("Y");
    Action("pmEditDeviceID")->trigger();
    EXPECT_EQ(edit->text(), "Y");
}

TEST_F(DeviceID, EditingWhileThePanelIsHiddenShowsItFirst) {
    Action("mmShowInfo")->trigger();
    EXPECT_TRUE(Find("panelInfo")->isHidden());
    EXPECT_FALSE(Action("mmShowInfo")->isChecked());

    Action("mmEditDeviceID")->trigger();
    EXPECT_TRUE(Find("panelInfo")->isVisible());
    EXPECT_TRUE(Action("mmShowInfo")->isChecked());
    EXPECT_TRUE(edit->isVisible());
}

TEST_F(DeviceID, HidingThePanelCommitsFirst) {
    StartEditing("HIDDEN");
    Action("mmShowInfo")->trigger();
    EXPECT_EQ(label->text(), "HIDDEN");
    EXPECT_EQ(Chart()->TitleLines().value(0), "Device ID: HIDDEN");
    Action("mmShowInfo")->trigger();
    EXPECT_TRUE(Find("panelInfo")->isVisible());
}

TEST_F(Viewer, MissingSettingsCentreTheBuiltInSizeWithThePanel) {
    Open({3});
    EXPECT_EQ(viewer->size(), QSize(760, 516));
    EXPECT_EQ(viewer->pos(), CentredFor(QSize(760, 516)));
    EXPECT_TRUE(Find("panelInfo")->isVisible());
    EXPECT_TRUE(Action("mmShowInfo")->isChecked());
    EXPECT_EQ(Find("panelInfo")->width(), 265);
}

TEST_F(Viewer, StoredPlacementIsRestored) {
    Store("TOP", 30);
    Store("LEFT", 40);
    Store("HEIGHT", 400);
    Store("WIDTH", 700);
    Store("SHOWINFO", 0);
    Store("INFOWIDTH", 180);
    Open({3});
    EXPECT_EQ(viewer->size(), QSize(700, 400));
    EXPECT_EQ(viewer->pos(), QPoint(40, 30));
    EXPECT_TRUE(Find("panelInfo")->isHidden());
    EXPECT_FALSE(Action("mmShowInfo")->isChecked());
    Action("mmShowInfo")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(Find("panelInfo")->width(), 180);
}

TEST_F(Viewer, TopMinusOneCentresButKeepsTheStoredSize) {
    Store("TOP", -1);
    Store("LEFT", 40);
    Store("HEIGHT", 400);
    Store("WIDTH", 700);
    Store("WINDOWSTATE", 1);
    Open({3});
    EXPECT_EQ(viewer->size(), QSize(700, 400));
    EXPECT_EQ(viewer->pos(), CentredFor(QSize(700, 400)));
    EXPECT_EQ(viewer->windowState(), Qt::WindowNoState); // 1 opens in normal state
}

TEST_F(Viewer, ClosingWritesThePlacement) {
    Open({3});
    viewer->move(50, 60);
    viewer->resize(720, 480);
    Action("mmShowInfo")->trigger();
    viewer->close();
    EXPECT_EQ(Setting("TOP"), 60);
    EXPECT_EQ(Setting("LEFT"), 50);
    EXPECT_EQ(Setting("HEIGHT"), 480);
    EXPECT_EQ(Setting("WIDTH"), 720);
    EXPECT_EQ(Setting("WINDOWSTATE"), 0);
    EXPECT_EQ(Setting("SHOWINFO"), 0);
    EXPECT_EQ(Setting("INFOWIDTH"), 265);
}

TEST_F(Viewer, HiddenPanelKeepsTheWidthItWasLastShownWith) {
    Store("SHOWINFO", 0);
    Store("INFOWIDTH", 180);
    Open({3});
    viewer->resize(640, 420); // laid out while the panel is hidden
    QApplication::processEvents();
    viewer->close();
    EXPECT_EQ(Setting("INFOWIDTH"), 180);
    DeleteClosedWindows();

    Open({3});
    Action("mmShowInfo")->trigger();
    QApplication::processEvents();
    Find<QSplitter>("splitterInfo")->setSizes({150, 400});
    QApplication::processEvents();
    ASSERT_EQ(Find("panelInfo")->width(), 150);
    Action("mmShowInfo")->trigger();
    viewer->resize(600, 400);
    QApplication::processEvents();
    viewer->close();
    EXPECT_EQ(Setting("SHOWINFO"), 0);
    EXPECT_EQ(Setting("INFOWIDTH"), 150);
}

TEST_F(Viewer, PopupMenuOpensOnTheChartAndAnywhereInThePanel) {
    Open({0, 3});
    auto* menu = Find<QMenu>("PopupMenuWaveChart");
    const char* targets[] = {"chartWave",     "panelInfoContents", "lblDate",
                             "gbWaveDetails", "lblAmpsP1",         "cboxWaveDetails"};
    for (const char* target : targets) {
        QWidget* widget = Find(target);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(3, 3), widget->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(widget, &event);
        EXPECT_TRUE(menu->isVisible()) << target;
        menu->hide();
    }
}

TEST_F(Viewer, HidingWritesThePlacementToo) {
    Open({3});
    viewer->move(70, 80);
    viewer->hide();
    EXPECT_EQ(Setting("TOP"), 80);
    EXPECT_EQ(Setting("SHOWINFO"), 1);
}

TEST_F(Viewer, MaximizedWindowKeepsItsNormalPlacement) {
    Store("TOP", 11);
    Store("LEFT", 12);
    Store("HEIGHT", 313);
    Store("WIDTH", 614);
    Store("WINDOWSTATE", 2);
    Open({3});
    EXPECT_TRUE(viewer->isMaximized());
    viewer->close();
    EXPECT_EQ(Setting("WINDOWSTATE"), 2);
    EXPECT_EQ(Setting("TOP"), 11);
    EXPECT_EQ(Setting("LEFT"), 12);
    EXPECT_EQ(Setting("HEIGHT"), 313);
    EXPECT_EQ(Setting("WIDTH"), 614);
}

TEST_F(Viewer, ClosingTellsTheOpenerAndDeletesTheWindow) {
    Open({3});
    QSignalSpy closed(viewer.data(), &TWaveformViewer::Closed);
    TWaveformViewer* raw = viewer;
    viewer->close();
    ASSERT_EQ(closed.count(), 1);
    EXPECT_EQ(closed.at(0).at(0).value<TWaveformViewer*>(), raw);
    DeleteClosedWindows();
    EXPECT_TRUE(viewer.isNull());
}

TEST_F(Viewer, GoesWithAnOpenerThatForgotIt) {
    auto rec = MakeFullRecord();
    auto* owner = new QWidget;
    viewer = new TWaveformViewer(owner, {3}, *rec);
    viewer->show();
    viewer->move(90, 95);
    QSignalSpy closed(viewer.data(), &TWaveformViewer::Closed);
    delete owner;
    EXPECT_TRUE(viewer.isNull());
    EXPECT_EQ(closed.count(), 0); // the opener is gone: nobody to tell
    EXPECT_EQ(Setting("TOP"), 95);
}

TEST_F(Viewer, ViewersAreIndependentCopies) {
    auto rec = MakeFullRecord();
    Open({0}, rec.get());
    TWaveformViewer* first = viewer;
    rec->Loads[0].Results.PeakCurrent1 = 1; // a later change of the opener's record
    rec->SetDeviceInfo(diDeviceID, "CHANGED");
    auto* second = new TWaveformViewer(nullptr, {0}, *rec);
    EXPECT_EQ(first->findChild<QLabel*>("lblDeviceID")->text(), "BME-0042");
    EXPECT_EQ(first->findChild<QLabel*>("lblAmpsP1")->text(), "62.26 A");
    EXPECT_EQ(second->findChild<QLabel*>("lblDeviceID")->text(), "CHANGED");
    delete second;
}
