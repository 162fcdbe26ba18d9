#pragma once
// The report viewer: one test's text report, the list of its recorded waveforms, and the commands
// to save it, export it as CSV or as the PDF service report, print its summary and open waveform
// viewers on it.

#include "records/tzrtestrec.h"
#include "report/loadresultstable.h"
#include "verdict/verdictchoice.h"

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class QListWidget;
class QPlainTextEdit;
class QSplitter;
class QToolBar;
class TVerdictPanel;
class TWaveformViewer;
struct TSaveKind;

class TTestReportViewer : public QMainWindow {
    Q_OBJECT
public:
    // A finished test: the viewer takes its own copy of the record, which counts as not yet saved.
    TTestReportViewer(QWidget* owner, const TZRTestRec& test);
    // A record file. A file of the wrong size shows "Read Error" with its name and size and opens an
    // empty viewer; a file that cannot be opened at all raises EFileError and no viewer is made.
    TTestReportViewer(QWidget* owner, const QString& fileName);
    // A viewer whose record has no load data holds no test: it cannot be saved, exported, printed or
    // added to the library, and closes without asking.
    ~TTestReportViewer() override;

    void tbSaveClick();
    void tbSaveAsCSVClick();
    // Writes the PDF service report, with the verdict the panel shows.
    void tbExportPDFClick();
    // Adds the record to the test library with the verdict panel's choice.
    void mmAddToLibraryClick();
    void tbViewWaveClick();
    void lstWavesDblClick();
    void tbPrintClick();
    void mmShowWaveListClick();
    void Help2Click();
    // The record is kept elsewhere (the test library): closing the viewer asks nothing.
    void MarkKept() { m_saved = true; }
    // For a window that closes with others (the main window's exit): asks the close question of an
    // unsaved test, saving on Yes, without closing; true when the viewer may close. Once every window
    // has agreed, CloseAnswered closes it without asking again.
    bool CloseQuery() { return FormCloseQuery(); }
    void CloseAnswered();
    // The verdict panel checks the record against `choice`, the one its test was checked against.
    void ChooseVerdict(const TVerdictChoice& choice);

signals:
    // The window has closed and is about to free itself.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Widgets, named after their members for tests and tools (findChild).
    QToolBar* tbTestReport = nullptr;
    // One action per command, in the menus and the tool bar alike.
    QAction* mmSave = nullptr;
    QAction* mmSaveAsCSV = nullptr;
    QAction* mmExportPDF = nullptr;
    QAction* mmAddToLibrary = nullptr;
    QAction* mmPrint = nullptr;
    QAction* mmViewWaveform = nullptr;
    QAction* mmShowWaveList = nullptr;
    QAction* Help2 = nullptr;
    QListWidget* lstWaves = nullptr;
    QSplitter* splitWaveList = nullptr;
    QPlainTextEdit* txtTestReport = nullptr;
    TVerdictPanel* pnlVerdict = nullptr;

    explicit TTestReportViewer(QWidget* owner);
    QAction* NewAction(const char* name, const QString& text, const QString& keys,
                       void (TTestReportViewer::*handler)(), const char* icon = nullptr);
    void CreateActions();
    void CreateToolBar();
    void CreateMenus();
    enum class SaveOutcome { Saved, Cancelled, Failed };
    SaveOutcome SaveRecord();
    // The save dialog for one kind of file, in the folder last used for that kind, showing the name
    // chosen before in this viewer (`lastName`, which keeps the choice) or the test's suggested name;
    // empty when cancelled.
    QString ChooseSaveName(const TSaveKind& kind, QString& lastName);
    bool FormCloseQuery();
    // The commands that write or print the test, enabled only while the viewer holds one.
    void EnableTestCommands();
    bool HoldsTest() const { return m_test->HasLoadData(); }
    void LoadPlacement();
    void SavePlacement();
    void FillWaveList();
    void BuildReport();
    void OpenWaveformViewer();
    bool WaveListVisible() const;
    // A new viewer never opens exactly on top of another.
    void CascadeFromOthers();

    std::unique_ptr<TZRTestRec> m_test;
    TLoadResultsTable m_loadResultsTable;
    QStringList m_reportLines;
    QList<TTestLoad> m_waveListLoads;
    QList<TWaveformViewer*> m_openWaveViewers;
    bool m_saved = false;
    bool m_closeAnswered = false;
    QString m_saveName;
    QString m_csvName;
    QString m_pdfName;
    int m_waveListWidth = 80;
    bool m_shownOnce = false;
};
