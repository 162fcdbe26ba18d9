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

} // namespace

QAction* TWaveformViewer::NewAction(const QString& name, const QString& text,
                                    void (TWaveformViewer::*handler)(), bool checkable) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setCheckable(checkable);
    // One action serves the menu, the tool bar and the pop-up: the pop-up lists its commands without
    // their keys, as the menus of the menu bar show them.
    action->setShortcutVisibleInContextMenu(false);
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

    CreateActions();
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

void TWaveformViewer::CreateActions() {
    using V = TWaveformViewer;
    const auto toolIcon = [](QAction* action, const char* name) {
        // The image is the tool bar's; the menus show the text alone.
        action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name))));
        action->setIconVisibleInMenu(false);
    };
    // A tool button shows its action's text without "&" and "...", as its tool tip.
    Print1 = NewAction(QStringLiteral("Print1"), QStringLiteral("&Print..."), &V::tbPrintClick);
    Print1->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    toolIcon(Print1, "print");
    mmEditDeviceID =
        NewAction(QStringLiteral("mmEditDeviceID"), QStringLiteral("&Device ID"), &V::lblDeviceIDClick);
    mmEditDeviceID->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
    // The pop-up names the same command in its own words.
    pmEditDeviceID =
        NewAction(QStringLiteral("pmEditDeviceID"), QStringLiteral("Edit &Device ID"), &V::lblDeviceIDClick);
    mmSetChartAxis = NewAction(QStringLiteral("mmSetChartAxis"), QStringLiteral("Set Chart &Axis..."),
                               &V::mmSetChartAxisClick);
    mmSetChartAxis->setShortcut(QKeySequence(QStringLiteral("Ctrl+H")));
    mmZoomIn = NewAction(QStringLiteral("mmZoomIn"), QStringLiteral("Zoom &In"), &V::tbZoomInClick);
    mmZoomIn->setShortcut(QKeySequence::fromString(QStringLiteral("Ctrl+=")));
    toolIcon(mmZoomIn, "zoom-in");
    mmZoomOut = NewAction(QStringLiteral("mmZoomOut"), QStringLiteral("Zoom &Out"), &V::tbZoomOutClick);
    mmZoomOut->setShortcut(QKeySequence::fromString(QStringLiteral("Ctrl+-")));
    toolIcon(mmZoomOut, "zoom-out");
    mmZoomRect =
        NewAction(QStringLiteral("mmZoomRect"), QStringLiteral("Zoom &Rectangle"), &V::tbZoomRectClick, true);
    mmZoomRect->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    toolIcon(mmZoomRect, "zoom-rect");
    mmUndoZoom = NewAction(QStringLiteral("mmUndoZoom"), QStringLiteral("&Undo Zoom"), &V::tbUndoZoomClick);
    mmUndoZoom->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    toolIcon(mmUndoZoom, "undo-zoom");
    mmShowInfo =
        NewAction(QStringLiteral("mmShowInfo"), QStringLiteral("Show Wave &Info"), &V::mmShowInfoClick, true);
    mmShowInfo->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    mmShowDataPoints = NewAction(QStringLiteral("mmShowDataPoints"), QStringLiteral("Show Data &Points"),
                                 &V::mmShowDataPointsClick, true);
    mmShowDataPoints->setShortcut(QKeySequence(QStringLiteral("Ctrl+T")));
    toolIcon(mmShowDataPoints, "data-points");
    mmHelp = NewAction(QStringLiteral("mmHelp"), QStringLiteral("&Help"), &V::mmHelpClick);
    mmHelp->setShortcut(QKeySequence(Qt::Key_F1));
}

void TWaveformViewer::CreateMenus() {
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

    PopupMenuWaveChart = new QMenu(this);
    PopupMenuWaveChart->setObjectName(QStringLiteral("PopupMenuWaveChart"));
    PopupMenuWaveChart->addAction(mmUndoZoom);
    PopupMenuWaveChart->addSeparator();
    PopupMenuWaveChart->addActions({mmShowInfo, mmShowDataPoints});
    PopupMenuWaveChart->addSeparator();
    PopupMenuWaveChart->addActions({pmEditDeviceID, mmSetChartAxis});
}

void TWaveformViewer::CreateToolBar() {
    tbWaveViewer = addToolBar(QStringLiteral("Tools"));
    tbWaveViewer->setObjectName(QStringLiteral("tbWaveViewer"));
    tbWaveViewer->setMovable(false);
    tbWaveViewer->setFloatable(false);
    tbWaveViewer->setFixedHeight(ToolBarHeight);
    tbWaveViewer->setContextMenuPolicy(Qt::PreventContextMenu);
    tbWaveViewer->installEventFilter(this);

    tbWaveViewer->addAction(Print1);
    tbWaveViewer->addSeparator();
    tbWaveViewer->addActions({mmZoomIn, mmZoomOut, mmZoomRect, mmUndoZoom});
    tbWaveViewer->addSeparator();
    tbWaveViewer->addAction(mmShowDataPoints);
}
