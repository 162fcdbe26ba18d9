#pragma once
// The Test Library window: the devices of the program's test library with their last test date and
// verdict, found by a search over their identification; the tests of the selected device, newest
// first, each of which opens in a report viewer; and the trend of each load's delivered energy across
// the device's tests against the declared energy and tolerance of a chosen setting. A library that
// cannot be used shows why in the window; Refresh (F5) reads the library again. The window remembers
// its placement and deletes itself when closed.
//
// Every read goes through the program's library worker (m_reads, library/libraryreads.h): the window
// stays usable while a server is waited for, says so in its status bar and shows a busy cursor over its
// lists. A new query is one Read call with a Show member that takes its TLibraryAnswer.

#include "library/libraryreads.h"
#include "library/outbox.h"
#include "library/testlibrary.h"

#include <QMainWindow>
#include <QPointer>
#include <vector>

class QAction;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTableView;
class QTreeWidget;
class TDeviceFilter;
class TDeviceListModel;
class TTestReportViewer;
class TTrendChart;
class TVerdictChooser;

class TTestLibraryWindow : public QMainWindow {
    Q_OBJECT
public:
    // Report viewers it opens belong to `owner`.
    explicit TTestLibraryWindow(QWidget* owner = nullptr);
    ~TTestLibraryWindow() override;

    // Reads the library again, keeping the selected device when it is still there.
    void mmRefreshClick();
    // Opens the selected test in a report viewer.
    void btnOpenClick();
    void mmHelpClick();

signals:
    // A report viewer has been opened on a test of the library; it is shown and deletes itself when
    // closed. The owner keeps it in its list of viewers.
    void ViewerOpened(TTestReportViewer* viewer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    QLayout* CreateSearchRow(QWidget* central);
    // Into splitMain: the devices; into splitDevice: a device's tests and its trend.
    void CreateDeviceTable();
    void CreateTestsPanel();
    void CreateTrendPanel();
    void CreateMenus();
    void SearchChanged(const QString& text);
    void DeviceChanged();
    // The answers of the library's worker.
    void ShowDevices(TLibraryAnswer<std::vector<TLibraryDevice>> answer);
    void OpenTest(const TLibraryTest& test, TLibraryAnswer<std::optional<QByteArray>> answer);
    // How many tests still wait in the outbox (Refresh sends them first).
    void ShowOutbox(const TOutboxSend& sent);
    // A read waits for the library (true) or every read is answered (false).
    void ShowWaiting(bool waiting);
    void ShowTests();
    void ShowTrend();
    void ShowProblem(const QString& why);
    QString SelectedDeviceId() const;
    void SelectDevice(const QString& deviceId);

    // Widgets, named after their members for tests and tools (findChild).
    QLabel* lblProblem = nullptr;
    QLineEdit* edtSearch = nullptr;
    QPushButton* btnRefresh = nullptr;
    QTableView* tblDevices = nullptr;
    QTreeWidget* tblTests = nullptr;
    QPushButton* btnOpen = nullptr;
    TTrendChart* chartTrend = nullptr;
    QLabel* lblLibrary = nullptr;
    QLabel* lblOutbox = nullptr; // how many tests wait in the outbox
    QSplitter* splitMain = nullptr;
    QSplitter* splitDevice = nullptr;
    QAction* mmOpenTest = nullptr;
    QAction* mmRefresh = nullptr;
    QAction* mmClose = nullptr;
    QAction* mmHelp = nullptr;
    TVerdictChooser* m_chooser = nullptr; // the lists "cboProfile" and "cboEnergy"

    TLibraryReads* m_reads = nullptr;
    QString m_libraryText; // the status bar's text when nothing waits
    TDeviceListModel* m_devices = nullptr;
    TDeviceFilter* m_filter = nullptr;
    QString m_shownDevice;
    bool m_testsAsked = false; // the shown device's tests have been asked for (and may be on their way)
    std::vector<TLibraryTest> m_tests; // of the shown device, newest first
    QPointer<QWidget> m_owner;
};
