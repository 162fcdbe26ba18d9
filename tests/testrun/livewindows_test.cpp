// While the windows of a test run are open, the Simulator (the bench hardware) and the live waveform
// viewers go on taking input, the step window keeps the keyboard, and the main window waits. Input is
// sent through the window system (QWindow events), which is where window modality drops it.
#include "base/benchhardware.h"
#include "base/qtmessages.h"
#include "link/commprogressform.h"
#include "sim/simulatorwindow.h"
#include "testrun/teststepform.h"
#include "tests/support/findchild.h"
#include "tests/testrun/simrun.h"
#include "waveform/wavechart.h"
#include "waveform/waveformviewer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

// A click at the middle of `widget`, delivered to its top-level window as the window system would.
void ClickThroughWindow(QWidget* widget) {
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, widget->rect().center());
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

// Runs the event loop until `condition` holds or five seconds have passed.
bool WaitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 5000)
        QTest::qWait(5);
    return condition();
}

class LiveWindows : public SimRun {
protected:
    LiveWindows() {
        SimTiming timing = sim.Timing();
        timing.autoDischargeMilliseconds = -1; // fired from the Simulator window
        sim.SetTiming(timing);
        // The waits keep the windows alive. Should the Simulator never get its click, the analyzer's
        // TEST text ends the wait (a discharge wait has no time limit) and the test fails instead of hanging.
        pump.hook = [this](int) {
            QApplication::processEvents();
            if (sim.State() == SimState::WaitingForDischarge && ++waitingRounds == 2000)
                sim.SendTestText();
        };
        bench.Add(simulator);
        mainWindow.resize(300, 260);
        mainButton = new QPushButton(QStringLiteral("New"), &mainWindow);
        mainButton->setGeometry(20, 20, 200, 40);
        QObject::connect(mainButton, &QPushButton::clicked, [this] { ++mainClicks; });
        mainWindow.show();
        simulator.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&simulator));
    }

    QWidget mainWindow;
    QPushButton* mainButton = nullptr;
    int mainClicks = 0;
    int waitingRounds = 0;
    TSimulatorWindow simulator{sim, [] { return 1; }};
    BenchWindows bench; // as the demo's backend names it
    ScopedInstall<BenchHardware> benchInstalled{bench};
    uint8_t loads[LOAD_COUNT] = {0, 1, 0, 0, 0, 0, 0};
};

TEST_F(LiveWindows, SimulatorAndViewersTakeInputWhileTheStepWindowWaits) {
    // The step window opens the link itself, as it does after the start window.
    ASSERT_EQ(link.Open(), LinkError::None);
    TTestStep step(&mainWindow, loads, rec.get(), link);
    bool simulatorEnabledDuringDownload = false;
    bool mainEnabledDuringDownload = true;
    QObject::connect(&sim, &SimulatedAnalyzer::CommandReceived, [&](const QByteArray& command) {
        if (command == "VW") {
            simulatorEnabledDuringDownload = simulator.isEnabled();
            mainEnabledDuringDownload = mainWindow.isEnabled();
        }
    });
    // The technician fires from the Simulator while the step window waits for the discharge.
    QObject::connect(&sim, &SimulatedAnalyzer::StateChanged, [&](SimState state) {
        if (state == SimState::WaitingForDischarge)
            QTimer::singleShot(0, &simulator,
                               [&] { ClickThroughWindow(Child<QPushButton>(simulator, "btnDischarge")); });
    });

    TWaveformViewer* viewer = nullptr;
    int stepResult = -1;
    const auto drive = [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&step));
        ClickThroughWindow(mainButton);
        EXPECT_EQ(mainClicks, 0) << "the main window took a click during the test";

        ClickThroughWindow(
            Child<QPushButton>(step, "btnOK")); // runs the whole load; returns once it is stored
        ASSERT_EQ(rec->Loads[1].HasData, 1) << "the discharge fired from the Simulator did not arrive";
        QList<TWaveformViewer*> viewers;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* wave = qobject_cast<TWaveformViewer*>(top); wave && wave->isVisible())
                viewers.append(wave);
        ASSERT_EQ(viewers.size(), 1);
        viewer = viewers.first();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer));
        // The viewer opened beside the step window without taking the keyboard from it: Return
        // presses OK on the next step, here "Tests done", which shows no jumper figure of the load.
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &step);
        EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(step, "btnOK"));
        EXPECT_EQ(Child<QLabel>(step, "lblLoad")->text(), QStringLiteral("Tests done"));
        EXPECT_TRUE(Child<QLabel>(step, "imgFigure")->pixmap().isNull());

        // The live viewer zooms from its tool bar while the step window is open.
        auto* chart = viewer->findChild<TWaveChart*>(QStringLiteral("chartWave"));
        auto* toolBar = viewer->findChild<QToolBar*>(QStringLiteral("tbWaveViewer"));
        QAction* zoomIn = viewer->findChild<QAction*>(QStringLiteral("mmZoomIn"));
        const ChartAxesState before = chart->AxesState();
        ClickThroughWindow(toolBar->widgetForAction(zoomIn));
        EXPECT_TRUE(WaitFor([&] { return !(chart->AxesState() == before); }))
            << "the live viewer did not zoom";

        ClickThroughWindow(Child<QCheckBox>(simulator, "chkAutoDischarge"));
        EXPECT_TRUE(Child<QCheckBox>(simulator, "chkAutoDischarge")->isChecked())
            << "the Simulator took no click";
        ClickThroughWindow(mainButton);
        EXPECT_EQ(mainClicks, 0);
    };
    QTimer::singleShot(0, &step, [&] {
        drive();
        step.done(mrFormCancel);
    });
    stepResult = step.exec();
    EXPECT_EQ(stepResult, mrFormCancel);
    EXPECT_TRUE(simulatorEnabledDuringDownload) << "the progress window disabled the Simulator";
    EXPECT_FALSE(mainEnabledDuringDownload) << "the progress window left the main window enabled";
    EXPECT_TRUE(mainWindow.isEnabled());
}

TEST_F(LiveWindows, BoxesBelongToTheStepWindowEvenWhenTheSimulatorIsActive) {
    QtMessageBoxes realBoxes;
    const ScopedInstall<MessageBoxes> real(realBoxes); // the fixture's scripted boxes come back after it
    // A box of the step window, and one of no window ("Device Not Detected").
    for (const int flags : {int(mfNone), int(mfNoOwner)}) {
        SCOPED_TRACE(flags);
        TModalForm step(&mainWindow);
        QWidget* boxOwner = nullptr;
        bool simulatorBlocked = true;
        Child<QCheckBox>(simulator, "chkAutoDischarge")->setChecked(false);
        QTimer::singleShot(0, &step, [&] {
            simulator.activateWindow();
            QTimer::singleShot(0, &step, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box) {
                    boxOwner = box->parentWidget();
                    ClickThroughWindow(Child<QCheckBox>(simulator, "chkAutoDischarge"));
                    simulatorBlocked = !Child<QCheckBox>(simulator, "chkAutoDischarge")->isChecked();
                    box->done(QMessageBox::Ok);
                }
                step.done(mrFormOK);
            });
            ShowMessage(QStringLiteral("Resistance: 75 Ohms"), QStringLiteral("Load Configured Incorrectly"),
                        MsgIcon::Error, MsgButtons::OK, flags);
        });
        step.exec();
        EXPECT_EQ(boxOwner, &step);
        EXPECT_FALSE(simulatorBlocked) << "a box of the test blocked the Simulator";
    }
}

} // namespace
