#include "report/testreportviewer.h"

#include "base/appicons.h"
#include "base/cascade.h"
#include "base/dialogs.h"
#include "base/errorbox.h"
#include "base/filefolders.h"
#include "base/global.h"
#include "base/helptopic.h"
#include "base/messages.h"
#include "base/placement.h"
#include "base/settings.h"
#include "base/uifonts.h"
#include "report/keepmessages.h"
#include "report/csvexport.h"
#include "report/reportlines.h"
#include "report/servicereport.h"
#include "report/summaryprint.h"
#include "report/testnames.h"
#include "report/verdictpanel.h"
#include "waveform/waveformviewer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("TestReportViewer");

} // namespace

// The three kinds of file a report viewer writes, each with its dialog and its remembered folder.
struct TSaveKind {
    QString caption;
    QString filter;
    QString suffix;
    QString folderKey;
};

namespace {

const TSaveKind RecordKind{QStringLiteral("Save Test Record"),
                           QStringLiteral("CorvexZR Test Records (*.zrq)|*.zrq|All Files (*.*)|*.*"),
                           QStringLiteral("zrq"), TestRecordFolderKey};
const TSaveKind CsvKind{QStringLiteral("Save As CSV"),
                        QStringLiteral("Comma Separated Values Files (*.csv)|*.csv|All Files (*.*)|*.*"),
                        QStringLiteral("csv"), CsvFolderKey};
const TSaveKind PdfKind{QStringLiteral("Export PDF"),
                        QStringLiteral("PDF Documents (*.pdf)|*.pdf|All Files (*.*)|*.*"),
                        QStringLiteral("pdf"), PdfFolderKey};

} // namespace

TTestReportViewer::TTestReportViewer(QWidget* owner)
    : QMainWindow(owner, Qt::Window), m_test(std::make_unique<TZRTestRec>()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("CorvexZR Test Report Viewer"));
    setWindowIcon(AppPicture("icons/corvexzr.svg"));
    setFont(WindowFont());
    resize(537, 563);

    CreateActions();
    CreateToolBar();
    CreateMenus();

    splitWaveList = new QSplitter(Qt::Horizontal, this);
    splitWaveList->setObjectName(QStringLiteral("splitWaveList"));
    splitWaveList->setHandleWidth(2);
    splitWaveList->setChildrenCollapsible(false);
    splitWaveList->setOpaqueResize(false); // drawn as a line while dragged
    lstWaves = new QListWidget(splitWaveList);
    lstWaves->setObjectName(QStringLiteral("lstWaves"));
    lstWaves->setFrameShape(QFrame::NoFrame);
    lstWaves->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstWaves->setMinimumWidth(15);
    connect(lstWaves, &QListWidget::itemDoubleClicked, this, &TTestReportViewer::lstWavesDblClick);
    connect(splitWaveList, &QSplitter::splitterMoved, this, [this] { m_waveListWidth = lstWaves->width(); });
    txtTestReport = new QPlainTextEdit(splitWaveList);
    txtTestReport->setObjectName(QStringLiteral("txtTestReport"));
    txtTestReport->setFrameShape(QFrame::NoFrame);
    txtTestReport->setReadOnly(true);
    txtTestReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtTestReport->setWordWrapMode(QTextOption::NoWrap);
    txtTestReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTestReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont memoFont = ReportFont(10);
    memoFont.setPixelSize(13);
    txtTestReport->setFont(memoFont);
    splitWaveList->setStretchFactor(0, 0);
    splitWaveList->setStretchFactor(1, 1);
    // The verdict panel under the report.
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(splitWaveList, 1);
    pnlVerdict = new TVerdictPanel(central, *m_test);
    centralLayout->addWidget(pnlVerdict);
    setCentralWidget(central);

    LoadPlacement();
    EnableTestCommands();
}

QAction* TTestReportViewer::NewAction(const char* name, const QString& text, const QString& keys,
                                      void (TTestReportViewer::*handler)(), const char* icon) {
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    if (!keys.isEmpty())
        action->setShortcut(QKeySequence(keys));
    if (icon) {
        // The image is the tool bar's; the menus show the text alone. A tool button shows the text
        // without "&" and "..." as its tool tip.
        action->setIcon(AppPicture(icon));
        action->setIconVisibleInMenu(false);
    }
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TTestReportViewer::CreateActions() {
    using V = TTestReportViewer;
    mmSave = NewAction("mmSave", QStringLiteral("&Save..."), QStringLiteral("Ctrl+S"), &V::tbSaveClick,
                       "icons/save.svg");
    mmSaveAsCSV = NewAction("mmSaveAsCSV", QStringLiteral("Save As &CSV..."), QString(), &V::tbSaveAsCSVClick,
                            "icons/save-csv.svg");
    mmExportPDF = NewAction("mmExportPDF", QStringLiteral("&Export PDF..."), QStringLiteral("Ctrl+E"),
                            &V::tbExportPDFClick, "icons/export-pdf.svg");
    mmAddToLibrary = NewAction("mmAddToLibrary", QStringLiteral("Add to Test &Library"),
                               QStringLiteral("Ctrl+Shift+L"), &V::mmAddToLibraryClick);
    mmPrint = NewAction("mmPrint", QStringLiteral("&Print Summary Data"), QStringLiteral("Ctrl+P"),
                        &V::tbPrintClick, "icons/print.svg");
    mmViewWaveform = NewAction("mmViewWaveform", QStringLiteral("View &Waveform..."),
                               QStringLiteral("Ctrl+W"), &V::tbViewWaveClick, "icons/view-wave.svg");
    mmShowWaveList = NewAction("mmShowWaveList", QStringLiteral("Show Wave &List"), QStringLiteral("Ctrl+L"),
                               &V::mmShowWaveListClick);
    mmShowWaveList->setCheckable(true);
    Help2 = NewAction("Help2", QStringLiteral("&Help"), QStringLiteral("F1"), &V::Help2Click);
}

void TTestReportViewer::CreateToolBar() {
    tbTestReport = addToolBar(QStringLiteral("Report"));
    tbTestReport->setObjectName(QStringLiteral("tbTestReport"));
    tbTestReport->setMovable(false);
    tbTestReport->setFixedHeight(32);
    tbTestReport->setIconSize(QSize(24, 24));
    tbTestReport->addActions({mmSave, mmSaveAsCSV, mmExportPDF});
    tbTestReport->addSeparator();
    tbTestReport->addActions({mmViewWaveform, mmPrint});
}

void TTestReportViewer::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({mmSave, mmSaveAsCSV, mmExportPDF, mmAddToLibrary});
    file->addSeparator();
    file->addAction(mmPrint);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addActions({mmViewWaveform, mmShowWaveList});
    menuBar()->addMenu(QStringLiteral("&Help"))->addAction(Help2);
}

TTestReportViewer::TTestReportViewer(QWidget* owner, const TZRTestRec& test) : TTestReportViewer(owner) {
    m_test->CopyTest(test);
    m_saved = false;
    setWindowTitle(ReportViewerCaption(*m_test));
    FillWaveList();
    BuildReport();
    pnlVerdict->ShowRecord();
    EnableTestCommands();
}

TTestReportViewer::TTestReportViewer(QWidget* owner, const QString& fileName) : TTestReportViewer(owner) {
    m_saved = true;
    QString why;
    if (m_test->LoadTestFile(fileName, why) != 0) {
        ShowMessage(QStringLiteral("An error occurred reading the file.\n\n%1").arg(why),
                    QStringLiteral("Read Error"), MsgIcon::Error, MsgButtons::OK, mfTaskModal);
        return;
    }
    setWindowTitle(ReportViewerCaption(*m_test));
    FillWaveList();
    BuildReport();
    pnlVerdict->ShowRecord();
    EnableTestCommands();
}

TTestReportViewer::~TTestReportViewer() {
    SavePlacement();
    while (!m_openWaveViewers.isEmpty()) {
        TWaveformViewer* viewer = m_openWaveViewers.takeLast();
        viewer->close();
    }
}

void TTestReportViewer::EnableTestCommands() {
    // Disabled actions take their shortcuts with them.
    for (QAction* action : {mmSave, mmSaveAsCSV, mmExportPDF, mmAddToLibrary, mmPrint})
        action->setEnabled(HoldsTest());
}

void TTestReportViewer::LoadPlacement() {
    const TSettings& settings = ProgramSettings();
    ApplyPlacement(*this, ReadPlacement(settings, Section), QSize(670, 630));
    const bool showList = settings.ReadInteger(Section, QStringLiteral("SHOWWAVELIST"), 1) != 0;
    const int listWidth = settings.ReadInteger(Section, QStringLiteral("WAVELISTWIDTH"), 80);
    lstWaves->setVisible(showList);
    mmShowWaveList->setChecked(showList);
    m_waveListWidth = listWidth;
    splitWaveList->setSizes({listWidth, std::max(1, width() - listWidth)});
}

void TTestReportViewer::SavePlacement() {
    ::SavePlacement(*this, ProgramSettings(), Section,
                    TSettingsChanges()
                        .Set(Section, QStringLiteral("SHOWWAVELIST"), WaveListVisible() ? 1 : 0)
                        .Set(Section, QStringLiteral("WAVELISTWIDTH"), m_waveListWidth));
}

bool TTestReportViewer::WaveListVisible() const {
    return mmShowWaveList->isChecked();
}

void TTestReportViewer::FillWaveList() {
    lstWaves->clear();
    m_waveListLoads.clear();
    for (int load = 0; load < LOAD_COUNT; ++load) {
        if (m_test->Loads[load].HasData == 0)
            continue;
        lstWaves->addItem(LoadName(load));
        m_waveListLoads.append(static_cast<TTestLoad>(load));
    }
    if (lstWaves->count() > 0) {
        lstWaves->setCurrentRow(0);
        lstWaves->item(0)->setSelected(true);
    }
}

void TTestReportViewer::BuildReport() {
    m_loadResultsTable = ComputeLoadResultsTable(*m_test);
    m_reportLines = BuildReportLines(*m_test, m_loadResultsTable, QLocale());
    txtTestReport->setPlainText(m_reportLines.join(QLatin1Char('\n')));
}

void TTestReportViewer::OpenWaveformViewer() {
    QList<TTestLoad> loads;
    for (int row = 0; row < lstWaves->count(); ++row)
        if (lstWaves->item(row)->isSelected())
            loads.append(m_waveListLoads.value(row));
    if (loads.isEmpty())
        return;
    auto* viewer = new TWaveformViewer(this, loads, *m_test);
    connect(viewer, &TWaveformViewer::Closed, this, [this, viewer] { m_openWaveViewers.removeOne(viewer); });
    m_openWaveViewers.append(viewer);
    viewer->show();
}

void TTestReportViewer::tbViewWaveClick() {
    OpenWaveformViewer();
}

void TTestReportViewer::lstWavesDblClick() {
    OpenWaveformViewer();
}

void TTestReportViewer::mmAddToLibraryClick() {
    if (!HoldsTest())
        return;
    KeepTestAndTell(*m_test, pnlVerdict->Basis(), this);
}

void TTestReportViewer::tbSaveClick() {
    SaveRecord();
}

QString TTestReportViewer::ChooseSaveName(const TSaveKind& kind, QString& lastName) {
    FileDialogRequest request;
    request.caption = kind.caption;
    request.filter = kind.filter;
    request.defaultSuffix = kind.suffix;
    TSettings& settings = ProgramSettings();
    request.folder = LastFolder(settings, kind.folderKey);
    // This viewer's previous choice, else the name the technician knows the test by.
    if (!lastName.isEmpty())
        request.fileName = QFileInfo(lastName).fileName();
    else if (const QString stem = SuggestedFileStem(*m_test); !stem.isEmpty())
        request.fileName = stem + QLatin1Char('.') + kind.suffix;
    const QString fileName = Dialogs().SaveFile(this, request);
    if (!fileName.isEmpty()) {
        lastName = fileName;
        RememberFolder(settings, kind.folderKey, fileName);
    }
    return fileName;
}

TTestReportViewer::SaveOutcome TTestReportViewer::SaveRecord() {
    if (!HoldsTest())
        return SaveOutcome::Cancelled;
    const QString fileName = ChooseSaveName(RecordKind, m_saveName);
    if (fileName.isEmpty())
        return SaveOutcome::Cancelled;
    int result = -1;
    // A target that cannot be created at all is shown by the general error handler.
    if (!Guarded([&] { result = m_test->SaveTestFile(fileName); }))
        return SaveOutcome::Failed;
    if (result != 0) {
        ShowMessage(QStringLiteral("An error occurred writing the file."), QStringLiteral("Write Error"),
                    MsgIcon::Error, MsgButtons::OK, mfTaskModal);
        return SaveOutcome::Failed;
    }
    m_saved = true;
    return SaveOutcome::Saved;
}

void TTestReportViewer::tbSaveAsCSVClick() {
    if (!HoldsTest())
        return;
    const QString fileName = ChooseSaveName(CsvKind, m_csvName);
    if (fileName.isEmpty())
        return;
    // The same bytes zrqtool writes; a failure raises the file layer's error for the general handler.
    Guarded([&] { WriteCsvFile(fileName, BuildCsv(*m_test, m_loadResultsTable, QLocale())); });
}

void TTestReportViewer::tbExportPDFClick() {
    if (!HoldsTest())
        return;
    const QString fileName = ChooseSaveName(PdfKind, m_pdfName);
    if (fileName.isEmpty())
        return;
    // The document zrqtool pdf writes, checked against what the verdict panel shows.
    Guarded([&] { SaveServiceReportPdf(fileName, *m_test, pnlVerdict->Basis(), QLocale()); });
}

void TTestReportViewer::tbPrintClick() {
    if (!HoldsTest())
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!Dialogs().SetupPrinter(this, printer))
        return;
    PrintSummary(printer, SummaryLines(m_reportLines, *m_test, pnlVerdict->Basis()));
}

void TTestReportViewer::mmShowWaveListClick() {
    // The action has already toggled its own check mark.
    lstWaves->setVisible(mmShowWaveList->isChecked());
}

void TTestReportViewer::ChooseVerdict(const TVerdictChoice& choice) {
    pnlVerdict->Choose(choice);
}

void TTestReportViewer::Help2Click() {
    ShowHelpTopic(HelpTopicReportViewer);
}

bool TTestReportViewer::FormCloseQuery() {
    // Without a test there is nothing to save.
    if (m_saved || !HoldsTest())
        return true;
    // The technician sees which test the question means (the main window asks for each of several).
    BringToFront(*this);
    switch (ShowMessage(QStringLiteral("Save test report before closing?"),
                        QStringLiteral("Save Test Report?"), MsgIcon::Question, MsgButtons::YesNoCancel,
                        mfTaskModal)) {
    case mrYes:
        // Only a save that succeeds closes the window: a cancelled save dialog or a failed write keeps
        // it open, so that a test the user asked to keep is not lost.
        return SaveRecord() == SaveOutcome::Saved;
    case mrNo:
        return true;
    default:
        return false;
    }
}

void TTestReportViewer::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A splitter not yet shown keeps no sizes; the list gets its stored width when it first appears.
    if (!m_shownOnce) {
        m_shownOnce = true;
        CascadeFromOthers();
        splitWaveList->setSizes({m_waveListWidth, std::max(1, splitWaveList->width() - m_waveListWidth)});
    }
}

void TTestReportViewer::CascadeFromOthers() {
    // All viewers restore the same placement; a new one steps aside from those already there.
    if (isMaximized() || screen() == nullptr)
        return;
    QList<QPoint> taken;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible() && qobject_cast<TTestReportViewer*>(window))
            taken.append(window->pos());
    move(CascadeClear(screen()->availableGeometry(), frameGeometry().size(), pos(), taken));
}

void TTestReportViewer::CloseAnswered() {
    m_closeAnswered = true;
    close();
}

void TTestReportViewer::closeEvent(QCloseEvent* event) {
    if (!m_closeAnswered && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    emit Closed();
}
