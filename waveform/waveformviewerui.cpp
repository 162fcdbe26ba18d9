// The controls, menus and tool bar of the waveform viewer.
#include "waveform/waveformviewer.h"

#include "waveform/wavechart.h"
#include "waveform/wavedetailspanel.h"

#include <QAction>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int ToolBarHeight = 32;
constexpr int DeviceIDMaxLength = 16;

QIcon ToolIcon(const char* name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

} // namespace

QAction* TWaveformViewer::NewAction(const QString& name, const QString& text,
                                    void (TWaveformViewer::*handler)(), bool checkable) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TWaveformViewer::CreateControls() {
    chartWave = new TWaveChart;
    chartWave->setObjectName(QStringLiteral("chartWave"));
    chartWave->setMinimumWidth(50);
    chartWave->setContextMenuPolicy(Qt::CustomContextMenu);
    chartWave->installEventFilter(this);

    splitterInfo = new QSplitter(Qt::Horizontal);
    splitterInfo->setObjectName(QStringLiteral("splitterInfo"));
    splitterInfo->setHandleWidth(2);
    splitterInfo->setChildrenCollapsible(false);
    splitterInfo->setOpaqueResize(false); // a line follows the mouse while the splitter is dragged
    splitterInfo->addWidget(CreateInfoPanel());
    splitterInfo->addWidget(chartWave);
    splitterInfo->setStretchFactor(0, 0);
    splitterInfo->setStretchFactor(1, 1);
    setCentralWidget(splitterInfo);

    CreateMenus();
    CreateToolBar();

    const auto popup = [this](const QPoint&) { PopupMenuWaveChart->popup(QCursor::pos()); };
    connect(chartWave, &QWidget::customContextMenuRequested, this, popup);
    connect(panelInfo->findChild<QWidget*>(QStringLiteral("panelInfoContents")),
            &QWidget::customContextMenuRequested, this, popup);
    // The group box keeps mouse events to itself, so it offers the panel's menu on its own.
    m_details->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_details, &QWidget::customContextMenuRequested, this, popup);
    m_details->cboxWaveDetails()->setContextMenuPolicy(Qt::NoContextMenu); // leaves it to the box
}

QWidget* TWaveformViewer::CreateInfoPanel() {
    // The panel scrolls rather than forcing the window taller when its font needs more room than
    // the window has.
    auto* scroller = new QScrollArea;
    scroller->setObjectName(QStringLiteral("panelInfo"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setMinimumWidth(50);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelInfo = scroller;
    auto* contents = new QWidget;
    contents->setObjectName(QStringLiteral("panelInfoContents"));
    contents->setAutoFillBackground(true);
    contents->setBackgroundRole(QPalette::Window);
    contents->installEventFilter(this);
    contents->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    const auto addRow = [&](int row, const QString& caption, const QString& name) {
        auto* dt = new QLabel(caption);
        dt->setObjectName(QStringLiteral("dt") + name.mid(3));
        dt->installEventFilter(this);
        m_captionLabels.append(dt);
        auto* value = new QLabel;
        value->setObjectName(name);
        value->installEventFilter(this);
        grid->addWidget(dt, row, 0);
        grid->addWidget(value, row, 1);
        return value;
    };
    lblDeviceID = addRow(0, QStringLiteral("Device ID:"), QStringLiteral("lblDeviceID"));
    lblDeviceID->setToolTip(QStringLiteral("Click to edit Device ID"));
    lblDate = addRow(1, QStringLiteral("Date:"), QStringLiteral("lblDate"));
    lblTestType = addRow(2, QStringLiteral("Test Type:"), QStringLiteral("lblTestType"));
    lblResolution = addRow(3, QStringLiteral("Resolution:"), QStringLiteral("lblResolution"));
    lblScale = addRow(4, QStringLiteral("Sample Interval:"), QStringLiteral("lblScale"));
    grid->setColumnStretch(1, 1);

    // The edit box lies over the device ID label and is shown instead of it while editing.
    editDeviceID = new QLineEdit;
    editDeviceID->setObjectName(QStringLiteral("editDeviceID"));
    editDeviceID->setMaxLength(DeviceIDMaxLength);
    editDeviceID->hide();
    editDeviceID->installEventFilter(this);
    grid->addWidget(editDeviceID, 0, 1);

    m_details = new TWaveDetailsPanel;
    connect(m_details, &TWaveDetailsPanel::LabelClicked, this, &TWaveformViewer::panelInfoClick);
    connect(m_details->cboxWaveDetails(), &QComboBox::currentIndexChanged, this,
            &TWaveformViewer::cboxWaveDetailsChange);

    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(grid);
    layout->addWidget(m_details);
    layout->addStretch();
    scroller->setWidget(contents);
    return panelInfo;
}

void TWaveformViewer::CreateMenus() {
    using V = TWaveformViewer;
    Print1 = NewAction(QStringLiteral("Print1"), QStringLiteral("&Print..."), &V::tbPrintClick);
    Print1->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    mmEditDeviceID =
        NewAction(QStringLiteral("mmEditDeviceID"), QStringLiteral("&Device ID"), &V::lblDeviceIDClick);
    mmEditDeviceID->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    mmSetChartAxis = NewAction(QStringLiteral("mmSetChartAxis"), QStringLiteral("Set Chart &Axis..."),
                               &V::mmSetChartAxisClick);
    mmSetChartAxis->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    mmZoomIn = NewAction(QStringLiteral("mmZoomIn"), QStringLiteral("Zoom &In"), &V::tbZoomInClick);
    mmZoomOut = NewAction(QStringLiteral("mmZoomOut"), QStringLiteral("Zoom &Out"), &V::tbZoomOutClick);
    mmZoomRect =
        NewAction(QStringLiteral("mmZoomRect"), QStringLiteral("Zoom Rectangle"), &V::tbZoomRectClick, true);
    mmZoomRect->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    mmUndoZoom = NewAction(QStringLiteral("mmUndoZoom"), QStringLiteral("&Undo Zoom"), &V::tbUndoZoomClick);
    mmUndoZoom->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    mmShowInfo =
        NewAction(QStringLiteral("mmShowInfo"), QStringLiteral("Show Wave &Info"), &V::mmShowInfoClick, true);
    mmShowInfo->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    mmShowDataPoints = NewAction(QStringLiteral("mmShowDataPoints"), QStringLiteral("Show Data &Points"),
                                 &V::mmShowDataPointsClick, true);
    mmShowDataPoints->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    mmHelp = NewAction(QStringLiteral("mmHelp"), QStringLiteral("&Help"), &V::mmHelpClick);
    mmHelp->setShortcut(QKeySequence(Qt::Key_F1));

    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("mmWaveViewer"));
    bar->addMenu(QStringLiteral("&File"))->addAction(Print1);
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(mmEditDeviceID);
    edit->addAction(mmSetChartAxis);
    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->addActions({mmZoomIn, mmZoomOut, mmZoomRect, mmUndoZoom});
    view->addSeparator();
    view->addActions({mmShowInfo, mmShowDataPoints});
    bar->addMenu(QStringLiteral("&Help"))->addAction(mmHelp);

    pmUndoZoom = NewAction(QStringLiteral("pmUndoZoom"), QStringLiteral("&Undo Zoom"), &V::tbUndoZoomClick);
    pmShowInfo =
        NewAction(QStringLiteral("pmShowInfo"), QStringLiteral("Show Wave &Info"), &V::mmShowInfoClick, true);
    pmShowDataPoints = NewAction(QStringLiteral("pmShowDataPoints"), QStringLiteral("Show Data &Points"),
                                 &V::mmShowDataPointsClick, true);
    pmEditDeviceID =
        NewAction(QStringLiteral("pmEditDeviceID"), QStringLiteral("Edit &Device ID"), &V::lblDeviceIDClick);
    pmSetChartAxis = NewAction(QStringLiteral("pmSetChartAxis"), QStringLiteral("Set Chart &Axis..."),
                               &V::mmSetChartAxisClick);
    PopupMenuWaveChart = new QMenu(this);
    PopupMenuWaveChart->setObjectName(QStringLiteral("PopupMenuWaveChart"));
    PopupMenuWaveChart->addAction(pmUndoZoom);
    PopupMenuWaveChart->addSeparator();
    PopupMenuWaveChart->addActions({pmShowInfo, pmShowDataPoints});
    PopupMenuWaveChart->addSeparator();
    PopupMenuWaveChart->addActions({pmEditDeviceID, pmSetChartAxis});
}

void TWaveformViewer::CreateToolBar() {
    using V = TWaveformViewer;
    tbWaveViewer = addToolBar(QStringLiteral("Tools"));
    tbWaveViewer->setObjectName(QStringLiteral("tbWaveViewer"));
    tbWaveViewer->setMovable(false);
    tbWaveViewer->setFloatable(false);
    tbWaveViewer->setFixedHeight(ToolBarHeight);
    tbWaveViewer->setContextMenuPolicy(Qt::PreventContextMenu);
    tbWaveViewer->installEventFilter(this);

    // The hints are the buttons' texts, shown as tool tips beside their images.
    tbPrint = NewAction(QStringLiteral("tbPrint"), QStringLiteral("Print"), &V::tbPrintClick);
    tbZoomIn = NewAction(QStringLiteral("tbZoomIn"), QStringLiteral("Zoom In"), &V::tbZoomInClick);
    tbZoomOut = NewAction(QStringLiteral("tbZoomOut"), QStringLiteral("Zoom Out"), &V::tbZoomOutClick);
    tbZoomRect =
        NewAction(QStringLiteral("tbZoomRect"), QStringLiteral("Zoom Rectangle"), &V::tbZoomRectClick, true);
    tbUndoZoom = NewAction(QStringLiteral("tbUndoZoom"), QStringLiteral("Undo Zoom"), &V::tbUndoZoomClick);
    tbShowDataPoints = NewAction(QStringLiteral("tbShowDataPoints"), QStringLiteral("Show Data Points"),
                                 &V::mmShowDataPointsClick, true);
    tbPrint->setIcon(ToolIcon("print"));
    tbZoomIn->setIcon(ToolIcon("zoom-in"));
    tbZoomOut->setIcon(ToolIcon("zoom-out"));
    tbZoomRect->setIcon(ToolIcon("zoom-rect"));
    tbUndoZoom->setIcon(ToolIcon("undo-zoom"));
    tbShowDataPoints->setIcon(ToolIcon("data-points"));

    tbWaveViewer->addAction(tbPrint);
    tbWaveViewer->addSeparator();
    tbWaveViewer->addActions({tbZoomIn, tbZoomOut, tbZoomRect, tbUndoZoom});
    tbWaveViewer->addSeparator();
    tbWaveViewer->addAction(tbShowDataPoints);
}
