#pragma once
// The Test Library window: the fleet, every device of the program's test library with its last test,
// verdict, next due date and a status that reads at a glance, most urgent first, found by a search over
// their identification and filtered by status, facility and location, with the count of each status;
// the tests of the selected device, newest first, each of which opens in a report viewer, and its own
// test interval; and the trend of each load's delivered energy across the device's tests against the
// declared energy and tolerance of a chosen setting. A library that cannot be used shows why in the
// window; Refresh (F5) reads the library again. The window remembers its placement and deletes itself
// when closed.
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
class QComboBox;
class QLabel;
class QSpinBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTableView;
class QTreeWidget;
class TFleetListModel;
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
    QLayout* CreateIntervalRow(QWidget* panel);
    // Into splitMain: the devices; into splitDevice: a device's tests and its trend.
    void CreateDeviceTable();
    void CreateTestsPanel();
    void CreateTrendPanel();
    void CreateMenus();
    // Lists the fleet again as the search and the filters ask, keeping the selected device.
    void FiltersChanged();
    // `seekPages`: how many pages beyond the first the device to keep is looked for in.
    void ListFleet(const QString& keepDevice, int seekPages = 10);
    TFleetQuery FleetQuery() const;
    void IntervalChanged(int months);
    void DeviceChanged();
    // The answers of the library's worker.
    // The library's name, and the facilities and locations of its devices for the filters.
    void ShowPlaces(TLibraryAnswer<std::array<QStringList, 2>> answer);
    // Fills a filter list with `values`, keeping the choice where it still exists.
    void FillFilter(QComboBox* box, const QStringList& values, const QString& all);
    // How many devices of each status the search and filters find.
    void ShowCounts(TLibraryAnswer<std::optional<std::array<int, FleetStatusCount>>> answer);
    void OpenTest(const TLibraryTest& test, TLibraryAnswer<std::optional<QByteArray>> answer);
    // How many tests still wait in the outbox (Refresh sends them first).
    void ShowOutbox(const TOutboxSend& sent);
    // A read waits for the library (true) or every read is answered (false).
    void ShowWaiting(bool waiting);
    void ShowTests();
    void ShowTrend();
    void ShowProblem(const QString& why);
    QString SelectedDeviceId() const;
    // A page of the fleet has arrived: the device to keep selected is looked for a few pages on, else the
    // first device is selected.
    void FleetPageArrived(bool first);

    // Widgets, named after their members for tests and tools (findChild).
    QLabel* lblProblem = nullptr;
    QLineEdit* edtSearch = nullptr;
    QComboBox* cboStatus = nullptr;
    QComboBox* cboFacility = nullptr;
    QComboBox* cboLocation = nullptr;
    QSpinBox* spnInterval = nullptr; // 0: the program's interval
    QPushButton* btnRefresh = nullptr;
    QTableView* tblDevices = nullptr;
    QTreeWidget* tblTests = nullptr;
    QPushButton* btnOpen = nullptr;
    TTrendChart* chartTrend = nullptr;
    QComboBox* cboLoad = nullptr; // the trend of one load, or of all
    QLabel* lblLibrary = nullptr;
    QLabel* lblOutbox = nullptr; // how many tests wait in the outbox
    QLabel* lblCounts = nullptr; // how many devices of each status the search and filters find
    QSplitter* splitMain = nullptr;
    QSplitter* splitDevice = nullptr;
    QAction* mmOpenTest = nullptr;
    QAction* mmRefresh = nullptr;
    QAction* mmClose = nullptr;
    QAction* mmHelp = nullptr;
    TVerdictChooser* m_chooser = nullptr; // the lists "cboProfile" and "cboEnergy"

    TLibraryReads* m_reads = nullptr;
    QString m_libraryText; // the status bar's text when nothing waits
    TFleetListModel* m_fleet = nullptr;
    QString m_shownDevice;
    bool m_testsAsked = false; // the shown device's tests have been asked for (and may be on their way)
    QString m_keepDevice;      // to select again once the fleet's pages arrive
    int m_pagesToSeek = 0;
    std::vector<TLibraryTest> m_tests; // of the shown device, newest first
    QPointer<QWidget> m_owner;
};
