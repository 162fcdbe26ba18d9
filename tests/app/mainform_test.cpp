// The main window: its commands, the report viewers it owns, and a whole new test from its button to
// the report, against the simulated analyzer in virtual time.
#include "app/zrqaboutform.h"
#include "app/zrqmainform.h"
#include "base/appicons.h"
#include "base/desktop.h"
#include "base/helptopic.h"
#include "base/loadundertest.h"
#include "library/outbox.h"
#include "library/programlibrary.h"
#include "libraryview/testlibrarywindow.h"
#include "link/commprogressform.h"
#include "link/usbcomm.h"
#include "records/recordimage.h"
#include "report/testreportviewer.h"
#include "sim/simulatedanalyzer.h"
#include "sim/virtualclock.h"
#include "testrun/editinfoform.h"
#include "testrun/testoptionsform.h"
#include "testrun/teststartform.h"
#include "testrun/teststepform.h"
#include "tests/support/findchild.h"
#include "tests/support/libraryanswers.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/recordinghelp.h"
#include "tests/support/reportviewerprobe.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class RecordingDesktop : public DesktopServicesSeam {
public:
    void OpenUrl(const QUrl& url) override { urls << url; }
    QList<QUrl> urls;

private:
    const ScopedInstall<DesktopServicesSeam> m_installed{*this}; // installed for the lifetime of this object
};

class MainWindow : public ::testing::Test {
protected:
    QString SaveRecord(const char* name, const TZRTestRec& rec) const {
        const QString path = settings.Folder() + QLatin1Char('/') + QString::fromLatin1(name);
        WriteBytes(path, RecordBytes(rec));
        return path;
    }

    TempSettings settings;
    ScriptedMessages boxes;
    ScriptedDialogs dialogs;
    RecordingHelp help;
};

} // namespace

TEST_F(MainWindow, LayoutAndCommands) {
    TZRQForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Velmora CorvexZR"));
    EXPECT_EQ(Child<QPushButton>(form, "btnNew")->text(), QStringLiteral("New Variable Load Test"));
    EXPECT_EQ(Child<QPushButton>(form, "btnOpen")->text(), QStringLiteral("Open Test Report"));
    EXPECT_TRUE(Child<QPushButton>(form, "btnNew")->isDefault());
    EXPECT_EQ(Child<QAction>(form, "mmOpen")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(Child<QAction>(form, "mmNew")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Child<QAction>(form, "mmHelpContents")->shortcut(), QKeySequence(QStringLiteral("F1")));
    EXPECT_EQ(form.centralWidget()->size(), QSize(287, 259 - 17));
}

TEST_F(MainWindow, OpenAddsAViewerAndCancelDoesNothing) {
    TZRQForm form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    dialogs.ChooseFiles({QString()});
    QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].filter,
              QStringLiteral("CorvexZR Test Records (*.zrq)|*.zrq|All Files (*.*)|*.*"));
    EXPECT_EQ(dialogs.Requests()[0].defaultSuffix, QStringLiteral("zrq"));
    EXPECT_TRUE(form.ViewerList().isEmpty());

    dialogs.ChooseFiles({SaveRecord("a.zrq", *MakeFullRecord())});
    form.btnOpenClick();
    ASSERT_EQ(form.ViewerList().size(), 1);
    EXPECT_TRUE(form.ViewerList()[0]->isVisible());
    form.ViewerList()[0]->close();
    EXPECT_TRUE(form.ViewerList().isEmpty());
}

TEST_F(MainWindow, EnterPressesTheFocusedOpenButton) {
    TZRQForm form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    Child<QPushButton>(form, "btnOpen")->setFocus();
    dialogs.ChooseFiles({QString(), QString()});
    QTest::keyClick(form.windowHandle(), Qt::Key_Return);
    QTest::keyClick(form.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialogs.Requests().size(), 2);
}

TEST_F(MainWindow, FileThatCannotBeOpenedIsReportedAndOpensNoViewer) {
    TZRQForm form;
    dialogs.ChooseFiles({settings.Folder() + QStringLiteral("/gone.zrq")});
    form.btnOpenClick();
    EXPECT_TRUE(form.ViewerList().isEmpty());
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(
        boxes.Shown()[0].text,
        QStringLiteral("Cannot open file %1/gone.zrq: No such file or directory").arg(settings.Folder()));
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Velmora CorvexZR"));
}

TEST_F(MainWindow, HelpKeyShowsTheMainTopic) {
    TZRQForm form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    EXPECT_EQ(help.topics, QStringList{QStringLiteral("ZRQHelp.html")});
}

TEST_F(MainWindow, CtrlLOpensTheOneTestLibraryWindowWhoseTestsJoinTheViewers) {
    TZRQForm form;
    QString why;
    ASSERT_TRUE(ProgramLibrary(why)) << why.toStdString();
    const QByteArray bytes = EncodeTestRecord(*MakeFullRecord());
    ProgramLibrary(why)->Add(bytes);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
    const QPointer<TTestLibraryWindow> library = form.LibraryWindow();
    ASSERT_TRUE(library);
    EXPECT_TRUE(library->isVisible());
    library->showMinimized();
    Child<QPushButton>(form, "btnLibrary")->click();
    EXPECT_EQ(form.LibraryWindow(), library);
    EXPECT_FALSE(library->isMinimized());

    ASSERT_TRUE(LibraryAnswered());
    Child<QPushButton>(*library, "btnOpen")->click();
    ASSERT_TRUE(LibraryAnswered());
    ASSERT_EQ(form.ViewerList().size(), 1);
    EXPECT_EQ(ShownReportLines(*form.ViewerList()[0]), ReportLinesOf(bytes));
    library->close();
    QTest::qWait(0);
    EXPECT_FALSE(library);
    EXPECT_EQ(form.ViewerList().size(), 1); // the viewer stays
    form.ViewerList()[0]->close();
    CloseProgramLibrary();
    EXPECT_TRUE(boxes.Shown().isEmpty());
}

// The program ends when its last window closes: a viewer still open once the main window has closed
// (one the Test Library window opens then) ends it when it closes.
TEST_F(MainWindow, AViewerThatOutlivesTheMainWindowEndsTheProgramWhenItCloses) {
    TZRQForm form;
    int ends = 0;
    QObject::connect(&form, &TZRQForm::Closed, [&ends] { ++ends; });
    QString why;
    ASSERT_TRUE(ProgramLibrary(why)) << why.toStdString();
    ProgramLibrary(why)->Add(EncodeTestRecord(*MakeFullRecord()));
    form.show();
    form.btnLibraryClick();
    ASSERT_TRUE(form.close());
    EXPECT_EQ(ends, 1);
    ASSERT_TRUE(LibraryAnswered());
    Child<QPushButton>(*form.LibraryWindow(), "btnOpen")->click();
    ASSERT_TRUE(LibraryAnswered());
    ASSERT_EQ(form.ViewerList().size(), 1);
    EXPECT_EQ(ends, 1);
    form.ViewerList()[0]->close();
    EXPECT_EQ(ends, 2);
    CloseProgramLibrary();
}

TEST_F(MainWindow, ClosingClosesTheViewersLastFirstAskingAgainUntilTheyClose) {
    auto form = std::make_unique<TZRQForm>();
    const QString a = SaveRecord("a.zrq", *MakeFullRecord());
    dialogs.ChooseFiles({a, a});
    form->btnOpenClick();
    form->btnOpenClick();
    ASSERT_EQ(form->ViewerList().size(), 2);
    QStringList closed;
    form->ViewerList()[0]->setObjectName(QStringLiteral("first"));
    form->ViewerList()[1]->setObjectName(QStringLiteral("second"));
    for (TTestReportViewer* viewer : form->ViewerList())
        QObject::connect(viewer, &TTestReportViewer::Closed, viewer,
                         [&closed, viewer] { closed << viewer->objectName(); });
    form.reset();
    EXPECT_EQ(closed, (QStringList{QStringLiteral("second"), QStringLiteral("first")}));
    EXPECT_EQ(help.closeAll, 1);
}

TEST_F(MainWindow, AboutWindowPagesAndLinks) {
    RecordingDesktop desktop;
    TZRQAbout about(nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About CorvexZR"));
    EXPECT_EQ(Child<QLabel>(about, "lblVersion")->text(), QStringLiteral("Version 2.0.2.0"));
    EXPECT_FALSE(Child<QLabel>(about, "lblCopyright")->text().isEmpty());
    EXPECT_TRUE(Child<QWidget>(about, "panelAbout")->isVisibleTo(&about));
    about.btnMoreClick();
    EXPECT_FALSE(Child<QWidget>(about, "panelAbout")->isVisibleTo(&about));
    EXPECT_TRUE(Child<QWidget>(about, "panelMore")->isVisibleTo(&about));
    EXPECT_EQ(Child<QPushButton>(about, "btnMore")->text(), QStringLiteral("Back"));
    about.btnMoreClick();
    EXPECT_TRUE(Child<QWidget>(about, "panelAbout")->isVisibleTo(&about));
    EXPECT_EQ(Child<QPushButton>(about, "btnMore")->text(), QStringLiteral("More"));
    about.lblWebsiteClick();
    about.lblIconCreditClick();
    ASSERT_EQ(desktop.urls.size(), 2);
    EXPECT_EQ(desktop.urls[0].scheme(), QStringLiteral("https"));
}

// Whatever the font, the first page shows the whole address and every contact line above the website
// link, the contact values in one column, and both logos within their pictures.
TEST_F(MainWindow, AboutWindowFitsItsTexts) {
    TZRQAbout about(nullptr);
    about.show();
    QApplication::processEvents();
    QPlainTextEdit* details = Child<QPlainTextEdit>(about, "txtDetails");
    ASSERT_EQ(details->blockCount(), 8);
    QTextCursor end(details->document());
    end.movePosition(QTextCursor::End);
    const int lastLineBottom = details->cursorRect(end).bottom();
    EXPECT_LE(lastLineBottom, details->viewport()->height());
    const QLabel* websiteCaption = nullptr;
    for (const QLabel* label : Child<QWidget>(about, "panelAbout")->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("Website:"))
            websiteCaption = label;
    ASSERT_NE(websiteCaption, nullptr);
    EXPECT_LE(details->viewport()->mapTo(Child<QWidget>(about, "panelAbout"), QPoint(0, lastLineBottom)).y(),
              websiteCaption->y());

    // The lines start under the labels, and each contact value where the website link does.
    EXPECT_EQ(details->viewport()
                  ->mapTo(Child<QWidget>(about, "panelAbout"),
                          details->cursorRect(QTextCursor(details->document())).topLeft())
                  .x(),
              websiteCaption->x());
    const QStringList contacts{QStringLiteral("+1 902 555 0142"), QStringLiteral("1 800 555 0199"),
                               QStringLiteral("+1 902 555 0143"), QStringLiteral("service@")};
    for (const QString& value : contacts) {
        const QTextCursor found = details->document()->find(value);
        ASSERT_FALSE(found.isNull()) << value.toStdString();
        QTextCursor start(found);
        start.setPosition(found.selectionStart());
        EXPECT_EQ(details->viewport()
                      ->mapTo(Child<QWidget>(about, "panelAbout"), details->cursorRect(start).topLeft())
                      .x(),
                  Child<QLabel>(about, "lblWebsite")->x())
            << value.toStdString();
    }

    // A logo whose text runs past its right edge leaves ink in the last columns.
    const std::pair<const char*, QSize> logos[] = {{"logos/velmora.svg", QSize(153, 49)},
                                                   {"logos/corvexzr.svg", QSize(129, 41)}};
    for (const auto& [logo, size] : logos) {
        const QImage image = AppPicture(logo).pixmap(size).toImage();
        ASSERT_FALSE(image.isNull()) << logo;
        for (int y = 0; y < image.height(); ++y)
            for (int x = image.width() - 2; x < image.width(); ++x)
                ASSERT_EQ(image.pixelColor(x, y).name(), QStringLiteral("#ffffff"))
                    << logo << " at " << x << "," << y;
    }
}

// --- a whole new test, the modal windows answered as a technician would

namespace {

class NewTest : public MainWindow {
protected:
    NewTest() {
        SimTiming timing;
        timing.bytesPerSecond = 0;
        timing.autoDischargeMilliseconds = 2000;
        sim.SetTiming(timing);
        sim.FollowLoad(LoadUnderTest);
        // Acts on whichever modal window is waiting, as often as the event loop runs.
        QObject::connect(&technician, &QTimer::timeout, [this] { Act(); });
        technician.start(0);
    }

    // A timer does not fire again while its own slot runs, and a button's click may run a whole nested
    // modal window: every action is therefore queued on a timer of its own.
    void Act() {
        if (m_actionQueued)
            return;
        m_actionQueued = true;
        QTimer::singleShot(0, &technician, [this] {
            m_actionQueued = false;
            ActNow();
        });
    }

    void ActNow() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* start = qobject_cast<TTestStart*>(modal)) {
            ++starts;
            if (cancelAtStart)
                start->btnCancelClick();
            else
                start->btnStartClick();
        } else if (auto* options = qobject_cast<TTestOptions*>(modal)) {
            for (int i = 0; i < 7; ++i)
                Child<QListWidget>(*options, "cboxOptions")
                    ->item(i)
                    ->setCheckState(loads.contains(i) ? Qt::Checked : Qt::Unchecked);
            if (cancelOptions)
                options->close();
            else
                options->btnOKClick();
        } else if (auto* editor = qobject_cast<TEditInfo*>(modal)) {
            Child<QLineEdit>(*editor, "txtDeviceID")->setText(QStringLiteral("BME-42"));
            editor->btnOKClick();
        } else if (auto* step = qobject_cast<TTestStep*>(modal)) {
            if (Child<QPushButton>(*step, "btnOK")->isEnabled() &&
                !qobject_cast<TCommProgress*>(QApplication::activeWindow())) {
                if (cancelSteps) {
                    boxes.Answer({mrYes});
                    Child<QPushButton>(*step, "btnCancel")->click();
                } else {
                    Child<QPushButton>(*step, "btnOK")->click();
                }
            }
        }
    }

    VirtualClock clock;
    ScopedClock scopedClock{clock};
    SimulatedAnalyzer sim{&clock};
    ScopedInstall<FtdiDriver> driverInstalled{sim};
    QTimer technician;
    QList<int> loads{0, 1, 2, 3, 4, 5, 6};
    bool cancelAtStart = false;
    bool cancelOptions = false;
    bool cancelSteps = false;
    int starts = 0;

private:
    bool m_actionQueued = false;
};

} // namespace

TEST_F(NewTest, SevenLoadsEndInAReportViewer) {
    TZRQForm form;
    form.show();
    form.btnNewClick();
    ASSERT_EQ(form.ViewerList().size(), 1);
    TTestReportViewer* viewer = form.ViewerList()[0];
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(Saved(*viewer));
    EXPECT_EQ(Child<QListWidget>(*viewer, "lstWaves")->count(), 7);
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_TRUE(boxes.Shown().isEmpty());
    // The live viewers went with the step window.
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible() && w->inherits("TWaveformViewer")) << w->windowTitle().toStdString();
    EXPECT_TRUE(form.isEnabled()); // the progress window gave every window back
    // Kept in the library before any Save, byte for byte.
    QString why;
    TTestLibrary* library = ProgramLibrary(why);
    ASSERT_TRUE(library) << why.toStdString();
    ASSERT_EQ(library->List().size(), 1u);
    EXPECT_EQ(library->List()[0].deviceInfo[diDeviceID], QStringLiteral("BME-42"));
    EXPECT_EQ(ReportLinesOf(library->RecordBytes(library->List()[0].id).value()), ShownReportLines(*viewer));

    // A second test leaves two viewers.
    loads = {3};
    form.btnNewClick();
    EXPECT_EQ(form.ViewerList().size(), 2);
    boxes.Answer({mrNo, mrNo}); // both unsaved tests are dropped when the main window goes
}

// A library that cannot take the test (here a shared one that is not there) costs nothing but a
// warning: the report viewer still opens with the test, for Save.
TEST_F(NewTest, ATestTheLibraryCannotTakeIsReportedAndStillOpens) {
    settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("DATABASE"),
                               settings.Folder() + QStringLiteral("/missing/library.sqlite"));
    TZRQForm form;
    loads = {1};
    form.btnNewClick();
    ASSERT_EQ(form.ViewerList().size(), 1);
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_TRUE(boxes.Shown()[0].text.contains(QStringLiteral("could not be kept in the test library")));
    EXPECT_TRUE(boxes.Shown()[0].text.contains(QStringLiteral("/missing")))
        << boxes.Shown()[0].text.toStdString();
    // It waits in the outbox, and goes into the library once the library is there.
    EXPECT_TRUE(boxes.Shown()[0].text.contains(QStringLiteral("waits in the outbox")));
    const QString meantFor = ProgramLibraryLocation();
    QString why;
    EXPECT_EQ(TOutbox::Open(ProgramOutboxLocation(), why)->Waiting(meantFor).size(), 1u);
    ASSERT_TRUE(QDir().mkpath(settings.Folder() + QStringLiteral("/missing")));
    EXPECT_EQ(SendOutbox(ProgramOutboxLocation(), meantFor).sent, 1);
    EXPECT_EQ(SendOutbox(ProgramOutboxLocation(), meantFor).waiting, 0);
    EXPECT_EQ(TTestLibrary::Open(meantFor, why)->List().size(), 1u);
    boxes.Answer({mrNo});
}

TEST_F(NewTest, ClosingTheMainWindowAsksAgainUntilEveryUnsavedTestIsDealtWith) {
    auto form = std::make_unique<TZRQForm>();
    loads = {1};
    form->btnNewClick();
    form->btnNewClick();
    ASSERT_EQ(form->ViewerList().size(), 2);
    boxes.Clear();
    boxes.Answer({mrCancel, mrNo, mrNo}); // the newest refuses once, then both are closed unsaved
    form.reset();
    ASSERT_EQ(boxes.Shown().size(), 3);
    for (const MessageRequest& box : boxes.Shown())
        EXPECT_EQ(box.caption, QStringLiteral("Save Test Report?"));
}

// Closing the main window asks every unsaved test's question before any window closes: a No followed
// by a Cancel, or a save that fails, leaves every viewer open; No to each closes them all, and the main
// window last.
TEST_F(NewTest, ClosingTheMainWindowClosesNothingUntilEveryUnsavedTestIsAnswered) {
    TZRQForm form;
    int ends = 0;
    QObject::connect(&form, &TZRQForm::Closed, [&ends] { ++ends; });
    form.show();
    loads = {1};
    form.btnNewClick();
    form.btnNewClick();
    ASSERT_EQ(form.ViewerList().size(), 2);
    const QList<TTestReportViewer*> viewers = form.ViewerList();
    boxes.Clear();

    boxes.Answer({mrNo, mrCancel, mrYes});
    EXPECT_FALSE(form.close());
    dialogs.ChooseFiles({settings.Folder() + QStringLiteral("/missing/folder/test.zrq")});
    EXPECT_FALSE(form.close());
    EXPECT_EQ(form.ViewerList(), viewers);
    for (TTestReportViewer* viewer : viewers) {
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_FALSE(Saved(*viewer));
    }
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(ends, 0);
    ASSERT_EQ(boxes.Shown().size(), 4); // No, Cancel, Yes and the failed save's error
    EXPECT_NE(boxes.Shown()[3].caption, QStringLiteral("Save Test Report?"));

    boxes.Clear();
    boxes.Answer({mrNo, mrNo});
    EXPECT_TRUE(form.close());
    EXPECT_EQ(boxes.Shown().size(), 2);
    EXPECT_TRUE(form.ViewerList().isEmpty());
    EXPECT_EQ(ends, 1);
}

TEST_F(NewTest, CancelAtTheStartClosesNothingAndOpensNoViewer) {
    cancelAtStart = true;
    TZRQForm form;
    form.btnNewClick();
    EXPECT_TRUE(form.ViewerList().isEmpty());
    EXPECT_TRUE(sim.Commands().isEmpty());
}

TEST_F(NewTest, CancelInTheLoadSelectionClosesTheAnalyzer) {
    cancelOptions = true;
    TZRQForm form;
    form.btnNewClick();
    EXPECT_TRUE(form.ViewerList().isEmpty());
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_EQ(sim.Commands(), (QList<QByteArray>{"GS", "VN", "RL"}));
}

TEST_F(NewTest, AbandonedTestOpensNoViewerAndClosesTheAnalyzer) {
    cancelSteps = true;
    TZRQForm form;
    form.btnNewClick();
    EXPECT_TRUE(form.ViewerList().isEmpty());
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_EQ(boxes.Shown().size(), 1); // the exit question
}
