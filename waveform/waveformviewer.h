#pragma once
// The waveform viewer: a non-modal window that shows the discharge waveforms of some loads of one
// test as a chart of current against time, beside an information panel with the test's
// identification and the measurement panel. It works on its own copy of the record and never writes
// anything back. It is a top-level window with its own task-bar entry and deletes itself when closed;
// the opener keeps it in a list, removes it on Closed and closes the ones left when it goes.

#include "records/loadresults.h"
#include "records/tzrtestrec.h"
#include "waveform/chartlimits.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QSplitter;
class QToolBar;
class TWaveChart;
class TWaveDetailsPanel;

class TWaveformViewer : public QMainWindow {
    Q_OBJECT
public:
    // Opens on a copy of `source` showing `loads` (load indices 0..6) in the order given: entry n is
    // the n-th series of the chart and the n-th item of the measurement panel's list.
    TWaveformViewer(QWidget* owner, const QList<TTestLoad>& loads, const TZRTestRec& source);
    ~TWaveformViewer() override;

    // Handlers of the tool bar, the menus and the controls.
    void tbZoomInClick();
    void tbZoomOutClick();
    void tbZoomRectClick();
    void tbUndoZoomClick();
    void mmShowDataPointsClick();
    void mmShowInfoClick();
    void lblDeviceIDClick();
    void panelInfoClick();
    void mmSetChartAxisClick();
    void tbPrintClick();
    void mmHelpClick();
    void cboxWaveDetailsChange();

signals:
    // The window is closing (and will delete itself): the opener takes it off its list.
    void Closed(TWaveformViewer* viewer);

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    QWidget* CreateInfoPanel();
    QAction* NewAction(const QString& name, const QString& text, void (TWaveformViewer::*handler)(),
                       bool checkable = false);
    void LoadPlacement();
    void SavePlacement();
    void AddLoadWaveform(int load);
    void FitCurrentAxis();
    void UpdateChartTitle();
    void SetInfoVisible(bool visible);
    void CancelDeviceIDEdit();

    std::unique_ptr<TZRTestRec> ViewerTest;
    QList<TTestLoad> ViewerLoads;
    std::array<TLoadResults, LOAD_COUNT> ViewerResults{};
    AxisRange InitialCurrentRange;
    QPointer<QWidget> m_owner;
    std::unique_ptr<QPrinter> m_printer; // PrintDialogWave's printer, made when first needed

    QToolBar* tbWaveViewer = nullptr;
    QMenu* PopupMenuWaveChart = nullptr;
    // One action per command, in the menus, the tool bar and the pop-up alike.
    QAction* Print1 = nullptr;
    QAction* mmEditDeviceID = nullptr;
    QAction* mmSetChartAxis = nullptr;
    QAction* mmZoomIn = nullptr;
    QAction* mmZoomOut = nullptr;
    QAction* mmZoomRect = nullptr;
    QAction* mmUndoZoom = nullptr;
    QAction* mmShowInfo = nullptr;
    QAction* mmShowDataPoints = nullptr;
    QAction* mmHelp = nullptr;
    QAction* pmEditDeviceID = nullptr; // the pop-up's "Edit Device ID", mmEditDeviceID's command

    QSplitter* splitterInfo = nullptr;
    QWidget* panelInfo = nullptr;
    TWaveChart* chartWave = nullptr;
    QLabel* lblDeviceID = nullptr;
    QLineEdit* editDeviceID = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblTestType = nullptr;
    QLabel* lblResolution = nullptr;
    QLabel* lblScale = nullptr;
    QList<QLabel*> m_captionLabels; // "Device ID:" ... "Sample Interval:"
    TWaveDetailsPanel* m_details = nullptr;
    int m_infoWidth = 0; // the panel's width when it was last shown, stored while it is hidden
};
