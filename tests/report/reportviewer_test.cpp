// The report viewer: opening records, saving, exporting, printing, the close question and placement.
#include "base/cascade.h"
#include "library/programlibrary.h"
#include "report/csvexport.h"
#include "report/keepmessages.h"
#include "report/reportlines.h"
#include "report/servicereport.h"
#include "report/summaryprint.h"
#include "report/testreportviewer.h"
#include "tests/support/filefaults.h"
#include "tests/support/findchild.h"
#include "tests/support/pdftools.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/reportviewerprobe.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"
#include "verdict/profilefolder.h"
#include "verdict/verdicttext.h"
#include "waveform/waveformviewer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QListWidget>
#include <QPageSize>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class ReportViewer : public ::testing::Test {
protected:
    QString Path(const char* name) const {
        return settings.Folder() + QLatin1Char('/') + QString::fromLatin1(name);
    }
    QString SaveRecord(const char* name, const TZRTestRec& rec) const {
        const QString path = Path(name);
        WriteBytes(path, RecordBytes(rec));
        return path;
    }
    // A viewer on a file, as the main window makes one; deleted with the test if still open.
    TTestReportViewer* Open(const QString& path) {
        auto* viewer = new TTestReportViewer(nullptr, path);
        m_viewers.append(viewer);
        return viewer;
    }
    TTestReportViewer* OpenFinished(const TZRTestRec& rec) {
        auto* viewer = new TTestReportViewer(nullptr, rec);
        m_viewers.append(viewer);
        return viewer;
    }
    ~ReportViewer() override {
        for (const QPointer<TTestReportViewer>& viewer : m_viewers)
            delete viewer.data();
    }

    TempSettings settings;
    ScriptedMessages boxes;
    ScriptedDialogs dialogs;

private:
    QList<QPointer<TTestReportViewer>> m_viewers;
};

QStringList ListTexts(const QListWidget* list, bool selectedOnly = false) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        if (!selectedOnly || list->item(i)->isSelected())
            texts << list->item(i)->text();
    return texts;
}

} // namespace

TEST_F(ReportViewer, OpensARecordWithItsReportAndWaveList) {
    auto rec = std::make_unique<TZRTestRec>();
    FillLoad(*rec, 0, 1, 5000, 5000);
    FillLoad(*rec, 6, 2, 5000, 12500);
    TTestReportViewer* viewer = Open(SaveRecord("two.zrq", *rec));
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("CorvexZR Test Report Viewer"));
    EXPECT_TRUE(Saved(*viewer));
    const QStringList lines =
        Child<QPlainTextEdit>(*viewer, "txtTestReport")->toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 5167);
    EXPECT_EQ(lines, BuildReportLines(*rec, ComputeLoadResultsTable(*rec), QLocale()));
    EXPECT_TRUE(Child<QPlainTextEdit>(*viewer, "txtTestReport")->isReadOnly());
    EXPECT_EQ(Child<QPlainTextEdit>(*viewer, "txtTestReport")->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(Child<QPlainTextEdit>(*viewer, "txtTestReport")->font().fixedPitch());
    EXPECT_EQ(ListTexts(Child<QListWidget>(*viewer, "lstWaves")),
              (QStringList{QStringLiteral("25 ohms"), QStringLiteral("175 ohms")}));
    EXPECT_EQ(ListTexts(Child<QListWidget>(*viewer, "lstWaves"), true),
              QStringList{QStringLiteral("25 ohms")});
    EXPECT_TRUE(boxes.Shown().isEmpty());
}

TEST_F(ReportViewer, WrongSizeFileOpensAnEmptyViewerThatClosesWithoutAQuestion) {
    WriteBytes(Path("short.zrq"), QByteArray(TEST_RECORD_SIZE - 1, '\x11'));
    QPointer<TTestReportViewer> viewer = Open(Path("short.zrq"));
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral(
                  "An error occurred reading the file.\n\n%1 is 72423 bytes; a test record is 72424 bytes.")
                  .arg(Path("short.zrq")));
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Read Error"));
    EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Error);
    EXPECT_TRUE(Child<QPlainTextEdit>(*viewer, "txtTestReport")->toPlainText().isEmpty());
    EXPECT_EQ(Child<QListWidget>(*viewer, "lstWaves")->count(), 0);
    viewer->show();
    EXPECT_TRUE(viewer->close());
    EXPECT_EQ(boxes.Shown().size(), 1);
}

TEST_F(ReportViewer, FileThatCannotBeOpenedRaisesTheFileError) {
    EXPECT_THROW(Open(Path("missing.zrq")), EFileError);
}

TEST_F(ReportViewer, SaveThenReopenGivesTheSameBytes) {
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    EXPECT_FALSE(Saved(*viewer));
    dialogs.ChooseFiles({Path("saved.zrq")});
    viewer->tbSaveClick();
    EXPECT_TRUE(Saved(*viewer));
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].defaultSuffix, QStringLiteral("zrq"));
    EXPECT_EQ(dialogs.Requests()[0].filter,
              QStringLiteral("CorvexZR Test Records (*.zrq)|*.zrq|All Files (*.*)|*.*"));
    EXPECT_EQ(ReadBytes(Path("saved.zrq")), RecordBytes(*rec));

    TTestReportViewer* again = Open(Path("saved.zrq"));
    EXPECT_EQ(ShownReportLines(*again), ReportLinesOf(RecordBytes(*rec)));
    // The save dialog shows its previous name the next time, in the folder it went to.
    dialogs.ChooseFiles({QString()});
    viewer->tbSaveClick();
    EXPECT_EQ(dialogs.Requests()[1].fileName, QStringLiteral("saved.zrq"));
    EXPECT_EQ(QDir(dialogs.Requests()[1].folder), QDir(settings.Folder()));
}

// Each kind of file has its own dialog title, a name made of the Device ID and the test's date and
// time, and the folder that kind of file went to last, also from another viewer and after a restart.
TEST_F(ReportViewer, SaveDialogsNameTheirKindSuggestTheTestsNameAndOpenWhereTheKindWentLast) {
    ASSERT_TRUE(QDir(settings.Folder()).mkpath(QStringLiteral("records")));
    ASSERT_TRUE(QDir(settings.Folder()).mkpath(QStringLiteral("exports")));
    auto rec = MakeFullRecord(); // BME-0042, Sep 3, 2013 at 14:07
    TTestReportViewer* viewer = OpenFinished(*rec);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("CorvexZR Test Report Viewer - BME-0042, Sep 3, 2013"));
    dialogs.ChooseFiles({Path("records/a.zrq"), Path("exports/a.csv"), QString()});
    viewer->tbSaveClick();
    viewer->tbSaveAsCSVClick();
    viewer->tbExportPDFClick(); // cancelled: remembers nothing
    ASSERT_EQ(dialogs.Requests().size(), 3);
    const QStringList captions{QStringLiteral("Save Test Record"), QStringLiteral("Save As CSV"),
                               QStringLiteral("Export PDF")};
    const QStringList names{QStringLiteral("BME-0042_2013-09-03_1407.zrq"),
                            QStringLiteral("BME-0042_2013-09-03_1407.csv"),
                            QStringLiteral("BME-0042_2013-09-03_1407.pdf")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialogs.Requests()[i].caption, captions[i]);
        EXPECT_EQ(dialogs.Requests()[i].fileName, names[i]);
        EXPECT_TRUE(dialogs.Requests()[i].folder.isEmpty()) << i; // nothing remembered yet
    }

    // Another test, in a new viewer on a settings file read afresh.
    settings.Ini().SetPath(settings.Ini().Path());
    auto other = std::make_unique<TZRTestRec>();
    FillLoad(*other, 2, 3, 5000, 5000);
    TTestReportViewer* second = OpenFinished(*other);
    second->tbSaveClick();
    second->tbSaveAsCSVClick();
    second->tbExportPDFClick();
    ASSERT_EQ(dialogs.Requests().size(), 6);
    EXPECT_EQ(QDir(dialogs.Requests()[3].folder), QDir(Path("records")));
    EXPECT_EQ(QDir(dialogs.Requests()[4].folder), QDir(Path("exports")));
    EXPECT_TRUE(dialogs.Requests()[5].folder.isEmpty());
    // No Device ID and no date: no name to suggest.
    EXPECT_TRUE(dialogs.Requests()[3].fileName.isEmpty());

    // A folder that has gone is not offered.
    ASSERT_TRUE(QDir(Path("exports")).removeRecursively());
    second->tbSaveAsCSVClick();
    EXPECT_TRUE(dialogs.Requests().last().folder.isEmpty());
}

TEST_F(ReportViewer, SaveAsCsvWritesTheSharedExport) {
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    dialogs.ChooseFiles({Path("out.csv")});
    viewer->tbSaveAsCSVClick();
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].defaultSuffix, QStringLiteral("csv"));
    EXPECT_EQ(ReadBytes(Path("out.csv")), BuildCsv(*rec, ComputeLoadResultsTable(*rec), QLocale()));
    EXPECT_FALSE(Saved(*viewer)); // exporting is not saving the test
}

TEST_F(ReportViewer, SaveThatRunsOutOfSpaceKeepsThePreviousFileAndSaysSo) {
    const auto previous = MakeFullRecord();
    const QString path = SaveRecord("kept.zrq", *previous);
    auto rec = std::make_unique<TZRTestRec>();
    FillLoad(*rec, 2, 3, 5000, 5000);
    TTestReportViewer* viewer = OpenFinished(*rec);
    dialogs.ChooseFiles({path});
    {
        FileSizeLimit fullDisk(30000);
        viewer->tbSaveClick();
    }
    EXPECT_FALSE(Saved(*viewer));
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("An error occurred writing the file."));
    EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Write Error"));
    EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Error);
    EXPECT_EQ(boxes.Shown()[0].flags, mfTaskModal);
    EXPECT_EQ(ReadBytes(path), RecordBytes(*previous));
    EXPECT_EQ(QDir(settings.Folder()).entryList({QStringLiteral("kept*")}, QDir::Files),
              QStringList{QStringLiteral("kept.zrq")});

    // Space again: the same record saves.
    dialogs.ChooseFiles({path});
    viewer->tbSaveClick();
    EXPECT_TRUE(Saved(*viewer));
    EXPECT_EQ(ReadBytes(path), RecordBytes(*rec));
}

TEST_F(ReportViewer, SaveIntoReadOnlyFolderShowsTheFileErrorAndKeepsThePreviousFile) {
    const QString folder = Path("stick");
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto previous = MakeFullRecord();
    const QString path = folder + QStringLiteral("/kept.zrq");
    WriteBytes(path, RecordBytes(*previous));
    SetWritableByEveryone(path, false); // a writable one would be written in place
    auto rec = std::make_unique<TZRTestRec>();
    FillLoad(*rec, 2, 3, 5000, 5000);
    TTestReportViewer* viewer = OpenFinished(*rec);
    dialogs.ChooseFiles({path});
    int outcome = 0;
    {
        ReadOnlyFolder readOnly(folder);
        // 1: the one expected box and not saved; 2: anything else.
        outcome = RunWithoutPrivileges([&] {
            viewer->tbSaveClick();
            const bool oneBox = boxes.Shown().size() == 1 &&
                                boxes.Shown()[0].text == QStringLiteral("Cannot create file ") + path &&
                                boxes.Shown()[0].icon == MsgIcon::Error;
            return oneBox && !Saved(*viewer) ? 1 : 2;
        });
    }
    EXPECT_EQ(outcome, 1);
    EXPECT_EQ(ReadBytes(path), RecordBytes(*previous));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("kept.zrq")});
}

TEST_F(ReportViewer, CsvExportThatRunsOutOfSpaceKeepsThePreviousFileAndSaysSo) {
    const QString path = Path("kept.csv");
    WriteBytes(path, QByteArray("previous export\r\n"));
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    dialogs.ChooseFiles({path});
    {
        FileSizeLimit fullDisk(30000); // the export is about 480 kB
        viewer->tbSaveAsCSVClick();
    }
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(QStringLiteral("Cannot write file ") + path))
        << boxes.Shown()[0].text.toStdString();
    EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Error);
    EXPECT_EQ(ReadBytes(path), QByteArray("previous export\r\n"));
    EXPECT_EQ(QDir(settings.Folder()).entryList({QStringLiteral("kept*")}, QDir::Files),
              QStringList{QStringLiteral("kept.csv")});
}

TEST_F(ReportViewer, ExportPdfWritesTheServiceReportWithTheVerdictThePanelShows) {
    if (!HasPoppler())
        GTEST_SKIP() << "poppler-utils is not installed";
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    const TVerdictChoice choice{QStringLiteral("Generic impedance-compensated biphasic"), 200};
    viewer->ChooseVerdict(choice);
    dialogs.ChooseFiles({Path("service.pdf")});
    Child<QAction>(*viewer, "mmExportPDF")->trigger();
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].defaultSuffix, QStringLiteral("pdf"));
    EXPECT_TRUE(boxes.Shown().isEmpty());

    const auto basis = ResolveVerdictChoice(LoadProfiles().profiles, choice);
    ASSERT_TRUE(basis.has_value());
    WriteBytes(Path("expected.pdf"), BuildServiceReportPdf(*rec, basis, QLocale()));
    const QString text = PdfText(Path("service.pdf"));
    EXPECT_TRUE(text.contains(choice.profile));
    EXPECT_EQ(text, PdfText(Path("expected.pdf")));
    EXPECT_FALSE(Saved(*viewer)); // exporting is not saving the test
}

TEST_F(ReportViewer, PdfExportThatRunsOutOfSpaceKeepsThePreviousFileAndSaysSo) {
    const QString path = Path("kept.pdf");
    WriteBytes(path, QByteArray("previous document"));
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    dialogs.ChooseFiles({path});
    {
        FileSizeLimit fullDisk(30000); // the document is about 80 kB
        viewer->tbExportPDFClick();
    }
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(QStringLiteral("Cannot write file ") + path))
        << boxes.Shown()[0].text.toStdString();
    EXPECT_EQ(ReadBytes(path), QByteArray("previous document"));
    EXPECT_EQ(QDir(settings.Folder()).entryList({QStringLiteral("kept*")}, QDir::Files),
              QStringList{QStringLiteral("kept.pdf")});
}

TEST_F(ReportViewer, CloseQuestionAnswers) {
    auto rec = MakeFullRecord();
    {
        TTestReportViewer* viewer = OpenFinished(*rec);
        viewer->show();
        boxes.Answer({mrCancel});
        EXPECT_FALSE(viewer->close());
        ASSERT_EQ(boxes.Shown().size(), 1);
        EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Save test report before closing?"));
        EXPECT_EQ(boxes.Shown()[0].caption, QStringLiteral("Save Test Report?"));
        EXPECT_EQ(boxes.Shown()[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Question);
        boxes.Answer({mrNo});
        EXPECT_TRUE(viewer->close());
    }
    {
        // Yes and a save that succeeds.
        TTestReportViewer* viewer = OpenFinished(*rec);
        viewer->show();
        boxes.Answer({mrYes});
        dialogs.ChooseFiles({Path("closing.zrq")});
        EXPECT_TRUE(viewer->close());
        EXPECT_EQ(ReadBytes(Path("closing.zrq")), RecordBytes(*rec));
    }
}

// With several viewers open, the question stands over the viewer whose test it means.
TEST_F(ReportViewer, TheCloseQuestionBringsItsViewerToTheFront) {
    auto rec = MakeFullRecord();
    TTestReportViewer* unsaved = OpenFinished(*rec);
    TTestReportViewer* saved = Open(SaveRecord("saved.zrq", *rec));
    unsaved->show();
    saved->show();
    saved->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(saved));
    QWidget* activeWhileAsked = nullptr;
    boxes.whileShown = [&](const MessageRequest&) { activeWhileAsked = QApplication::activeWindow(); };
    boxes.Answer({mrCancel});
    EXPECT_FALSE(unsaved->CloseQuery());
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(activeWhileAsked, unsaved);
}

// Viewers restore the same placement; a new one steps aside from any already standing there.
TEST_F(ReportViewer, NewViewersCascadeInsteadOfOpeningOnTopOfEachOther) {
    auto rec = MakeFullRecord();
    QList<QPoint> places;
    for (int i = 0; i < 3; ++i) {
        TTestReportViewer* viewer = OpenFinished(*rec);
        viewer->show();
        places << viewer->pos();
    }
    EXPECT_EQ(places[1] - places[0], QPoint(CascadeStep, CascadeStep));
    EXPECT_EQ(places[2] - places[1], QPoint(CascadeStep, CascadeStep));
}

TEST_F(ReportViewer, CancelledOrFailedSaveOnClosingKeepsTheTestOpen) {
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    viewer->show();
    // Yes and then a cancelled save dialog: the user asked to keep the test.
    boxes.Answer({mrYes});
    dialogs.ChooseFiles({QString()});
    EXPECT_FALSE(viewer->close());
    EXPECT_TRUE(viewer->isVisible());
    ASSERT_EQ(boxes.Shown().size(), 1);
    boxes.Clear();
    boxes.Answer({mrYes});
    dialogs.ChooseFiles({Path("no/such/folder/x.zrq")});
    EXPECT_FALSE(viewer->close());
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(Saved(*viewer));
    ASSERT_EQ(boxes.Shown().size(), 2);
    EXPECT_TRUE(boxes.Shown()[1].text.startsWith(QStringLiteral("Cannot create file")));
}

TEST_F(ReportViewer, PlacementDefaultsAndMaximizedClose) {
    auto rec = MakeFullRecord();
    {
        TTestReportViewer* viewer = OpenFinished(*rec);
        EXPECT_EQ(viewer->size(), QSize(670, 630));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_EQ(viewer->pos(), area.center() - QPoint(335, 315));
        EXPECT_TRUE(Child<QAction>(*viewer, "mmShowWaveList")->isChecked());
        viewer->show();
        EXPECT_EQ(Child<QListWidget>(*viewer, "lstWaves")->width(), 80);
        viewer->resize(600, 500);
        viewer->move(40, 30);
        delete viewer;
    }
    TSettings& ini = settings.Ini();
    const QString section = QStringLiteral("TestReportViewer");
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("WIDTH"), 0), 600);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("TOP"), 0), 30);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("SHOWWAVELIST"), 0), 1);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("WAVELISTWIDTH"), 0), 80);
    {
        TTestReportViewer* viewer = OpenFinished(*rec);
        EXPECT_EQ(viewer->size(), QSize(600, 500));
        viewer->setWindowState(Qt::WindowMaximized);
        Child<QAction>(*viewer, "mmShowWaveList")->trigger();
        delete viewer;
    }
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("WINDOWSTATE"), 0), 2);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("WIDTH"), 0), 600);
    EXPECT_EQ(ini.ReadInteger(section, QStringLiteral("SHOWWAVELIST"), 1), 0);

    TTestReportViewer* hidden = OpenFinished(*rec);
    EXPECT_TRUE(hidden->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(Child<QAction>(*hidden, "mmShowWaveList")->isChecked());
    EXPECT_FALSE(Child<QListWidget>(*hidden, "lstWaves")->isVisibleTo(hidden));
    Child<QAction>(*hidden, "mmShowWaveList")->trigger();
    EXPECT_TRUE(Child<QListWidget>(*hidden, "lstWaves")->isVisibleTo(hidden));
}

TEST_F(ReportViewer, ViewWaveformOpensOneViewerForTheSelectedLoads) {
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    Child<QListWidget>(*viewer, "lstWaves")->clearSelection();
    viewer->tbViewWaveClick();
    EXPECT_TRUE(ShownWaveViewers().isEmpty());

    Child<QListWidget>(*viewer, "lstWaves")->item(1)->setSelected(true);
    Child<QListWidget>(*viewer, "lstWaves")->item(5)->setSelected(true);
    viewer->tbViewWaveClick();
    ASSERT_EQ(ShownWaveViewers().size(), 1);
    QPointer<TWaveformViewer> wave = ShownWaveViewers().first();
    EXPECT_TRUE(wave->isVisible());
    wave->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ShownWaveViewers().isEmpty());

    // Closing the report closes its waveform viewers.
    viewer->tbViewWaveClick();
    wave = ShownWaveViewers().first();
    delete viewer;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(wave.isNull() || !wave->isVisible());
}

// The header and every result line (the second phase's voltages and width, the interphase delay,
// tilt, modulation frequency and duty cycle too), the verdict line of the chosen profile, and nothing of
// the waveform data; lines that do not fit a page go on to the next.
TEST_F(ReportViewer, PrintsTheHeaderEveryResultAndTheVerdictLine) {
    if (!HasPoppler())
        GTEST_SKIP() << "poppler-utils is not installed";
    auto rec = MakeFullRecord();
    TTestReportViewer* viewer = OpenFinished(*rec);
    const TVerdictChoice choice{QStringLiteral("Generic impedance-compensated biphasic"), 200};
    viewer->ChooseVerdict(choice);
    dialogs.PrintTo({Path("summary.pdf")});
    viewer->tbPrintClick();
    ASSERT_EQ(dialogs.PrintDialogsShown(), 1);
    const auto basis = ResolveVerdictChoice(LoadProfiles().profiles, choice);
    ASSERT_TRUE(basis.has_value());
    const QString verdict = RecordVerdictLine(RecordVerdict(*rec, basis->setting, basis->profile.tolerance),
                                              basis->profile.name, basis->setting.selected);
    const QStringList lines = ShownReportLines(*viewer);
    // The verdict line is broken between words to the report's width.
    const QString printed = PdfText(Path("summary.pdf")).simplified();
    EXPECT_TRUE(printed.startsWith(lines[0].simplified()));
    EXPECT_TRUE(printed.contains(lines[34].simplified())); // the second phase's peak voltage
    EXPECT_TRUE(printed.endsWith(lines[41].simplified() + QLatin1Char(' ') + verdict.simplified()))
        << printed.right(300).toStdString();
    EXPECT_FALSE(printed.contains(lines[42].simplified())); // the waveform data's title

    QPrinter small(QPrinter::HighResolution);
    small.setOutputFormat(QPrinter::PdfFormat);
    small.setOutputFileName(Path("small.pdf"));
    small.setPageSize(QPageSize(QPageSize::A5)); // wide enough for the lines, not high enough for all
    small.setPageOrientation(QPageLayout::Landscape);
    PrintSummary(small, SummaryLines(lines, *rec, std::nullopt));
    const QStringList pages = PdfText(Path("small.pdf")).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages.first().simplified().startsWith(lines[0].simplified()));
    EXPECT_TRUE(pages.last().simplified().endsWith(lines[41].simplified())) << pages.last().toStdString();
    EXPECT_FALSE(pages.join(QString()).contains(QStringLiteral("Verdict"))); // no profile, no verdict line
}

TEST_F(ReportViewer, ViewerOfNoTestCannotSaveExportPrintOrKeepIt) {
    const char* commands[] = {"mmSave", "mmSaveAsCSV", "mmExportPDF", "mmAddToLibrary", "mmPrint"};
    auto full = MakeFullRecord();
    TTestReportViewer* withTest = OpenFinished(*full);
    for (const char* name : commands)
        EXPECT_TRUE(Child<QAction>(*withTest, name)->isEnabled()) << name;

    // Loads left out, skipped or failed: no load of the test has data.
    auto empty = std::make_unique<TZRTestRec>();
    empty->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-0042"));
    TTestReportViewer* viewer = OpenFinished(*empty);
    for (const char* name : commands)
        EXPECT_FALSE(Child<QAction>(*viewer, name)->isEnabled()) << name;
    // The tool bar's buttons are the same commands.
    auto* toolBar = Child<QToolBar>(*viewer, "tbTestReport");
    QStringList buttons;
    for (QAction* action : toolBar->actions()) {
        buttons << action->objectName();
        if (!action->isSeparator()) {
            EXPECT_EQ(toolBar->widgetForAction(action)->isEnabled(),
                      action->objectName() == "mmViewWaveform");
        }
    }
    EXPECT_EQ(buttons,
              QStringList({"mmSave", "mmSaveAsCSV", "mmExportPDF", "", "mmViewWaveform", "mmPrint"}));
    viewer->show();
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    QTest::keyClick(viewer, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(viewer, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(viewer, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(viewer, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    viewer->tbSaveClick();
    viewer->tbSaveAsCSVClick();
    viewer->tbExportPDFClick();
    viewer->tbPrintClick();
    viewer->mmAddToLibraryClick();
    EXPECT_TRUE(dialogs.Requests().isEmpty());
    EXPECT_EQ(dialogs.PrintDialogsShown(), 0);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_FALSE(QFile::exists(ProgramLibraryLocation()));
    EXPECT_TRUE(viewer->close()); // nothing to save, so no question
    EXPECT_TRUE(boxes.Shown().isEmpty());
}

TEST_F(ReportViewer, KeepingATestTellsWhatTheLibraryDid) {
    auto empty = std::make_unique<TZRTestRec>();
    QObject viewer;
    KeepFinishedTestAndTell(*empty, std::nullopt, &viewer);
    ASSERT_EQ(boxes.Shown().size(), 1);
    EXPECT_EQ(boxes.Shown()[0].text,
              QStringLiteral("No load of this test has data, so it was not added to the test library."));
    EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Information);

    auto full = MakeFullRecord();
    KeepFinishedTestAndTell(*full, std::nullopt, &viewer);
    EXPECT_EQ(boxes.Shown().size(), 1); // quiet at the end of a new test
    KeepTestAndTell(*full, std::nullopt, &viewer);
    ASSERT_EQ(boxes.Shown().size(), 2);
    EXPECT_TRUE(boxes.Shown()[1].text.startsWith(QStringLiteral("This test is already in the test library")));
    CloseProgramLibrary();
}
