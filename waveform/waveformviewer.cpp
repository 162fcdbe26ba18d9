#include "waveform/waveformviewer.h"

#include "base/dialogs.h"
#include "base/global.h"
#include "base/helptopic.h"
#include "base/placement.h"
#include "base/settings.h"
#include "base/uifonts.h"
#include "waveform/setaxis.h"
#include "waveform/wavechart.h"
#include "waveform/wavedetailspanel.h"
#include "waveform/waveseries.h"
#include "waveform/wavetexts.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QSplitter>

// Resources of a static library are registered by hand (outside any namespace).
static void InitWaveformResources() {
    Q_INIT_RESOURCE(waveform);
}

namespace {

const QString Section = QStringLiteral("WaveformViewer");
const QSize BuiltInSize(760, 516);
constexpr int DefaultInfoWidth = 265;

bool IsLoadIndex(int load) {
    return load >= 0 && load < LOAD_COUNT;
}

} // namespace

TWaveformViewer::TWaveformViewer(QWidget* owner, const QList<TTestLoad>& loads, const TZRTestRec& source)
    : QMainWindow(nullptr), ViewerTest(std::make_unique<TZRTestRec>()), m_owner(owner) {
    InitWaveformResources();
    // No parent widget: a window of its own with its own task-bar entry. Should an opener be
    // destroyed without closing it, the viewer goes with it.
    setAttribute(Qt::WA_DeleteOnClose);
    if (owner)
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
    setObjectName(QStringLiteral("WaveformViewer"));
    setFont(WindowFont());
    setWindowTitle(ProgramName + QStringLiteral(" Waveform Viewer"));
    CreateControls();
    LoadPlacement();

    ViewerTest->CopyTest(source);
    // Only load indices name a waveform; anything else is left out rather than read out of bounds.
    for (TTestLoad load : loads)
        if (IsLoadIndex(load))
            ViewerLoads.append(load);
    for (TTestLoad load : std::as_const(ViewerLoads))
        AddLoadWaveform(load);
    QComboBox* combo = m_details->cboxWaveDetails();
    {
        const QSignalBlocker quiet(combo);
        for (TTestLoad load : std::as_const(ViewerLoads))
            combo->addItem(LoadName(load));
        combo->setCurrentIndex(ViewerLoads.isEmpty() ? -1 : 0);
    }
    cboxWaveDetailsChange();
    FitCurrentAxis();
}

TWaveformViewer::~TWaveformViewer() {
    // Deleted while still shown (its opener went first): the hide that stores the placement never comes.
    if (isVisible())
        SavePlacement();
}

void TWaveformViewer::AddLoadWaveform(int load) {
    const int position = chartWave->SeriesCount();
    const SeriesRgb rgb = SeriesColour(position);
    ViewerResults[load] = ComputeLoadResults(ViewerTest->Loads[load], load);

    lblDeviceID->setText(ViewerTest->GetDeviceInfo(diDeviceID));
    lblDate->setText(FormatStampDateTime(ViewerTest->TestDateTime()));
    UpdateChartTitle();
    lblTestType->setText(QStringLiteral("Defib Energy"));
    lblResolution->setText(QStringLiteral("High"));
    lblScale->setText(QStringLiteral("11.4 us"));

    chartWave->AddSeries(LoadName(load), QColor(rgb.r, rgb.g, rgb.b),
                         WaveSeriesPoints(ViewerTest->Loads[load], ViewerResults[load]));
}

void TWaveformViewer::FitCurrentAxis() {
    if (chartWave->SeriesCount() == 0)
        return;
    const AxisRange values = chartWave->SeriesValueRange(0);
    const double limit = FitCurrentLimit(values.max, values.min);
    chartWave->SetCurrentAxis({-limit, limit});
    InitialCurrentRange = chartWave->AxesState().left.range;
}

void TWaveformViewer::UpdateChartTitle() {
    chartWave->SetTitleLines(ChartTitleLines(lblDeviceID->text(), lblDate->text()));
}

void TWaveformViewer::cboxWaveDetailsChange() {
    const int item = m_details->cboxWaveDetails()->currentIndex();
    if (item < 0 || item >= ViewerLoads.size())
        return;
    m_details->ShowResults(ViewerResults[ViewerLoads[item]]);
}

void TWaveformViewer::tbZoomInClick() {
    chartWave->ZoomPercent(110);
}

void TWaveformViewer::tbZoomOutClick() {
    chartWave->ZoomPercent(90);
}

void TWaveformViewer::tbZoomRectClick() {
    const bool on = !chartWave->RectangleZoom();
    mmZoomRect->setChecked(on);
    chartWave->SetRectangleZoom(on);
}

void TWaveformViewer::tbUndoZoomClick() {
    chartWave->SetTimeAxisAutomatic();
    chartWave->SetCurrentAxis(InitialCurrentRange);
    chartWave->UndoZoom();
}

void TWaveformViewer::mmShowDataPointsClick() {
    const bool show = !chartWave->DataPointsVisible();
    chartWave->SetDataPointsVisible(show);
    mmShowDataPoints->setChecked(show);
}

void TWaveformViewer::SetInfoVisible(bool visible) {
    mmShowInfo->setChecked(visible);
    // A hidden panel has no width of its own: remember the one it was shown with.
    if (!visible && panelInfo->isVisible())
        m_infoWidth = panelInfo->width();
    // The splitter hides its handle together with the panel.
    panelInfo->setVisible(visible);
}

void TWaveformViewer::mmShowInfoClick() {
    if (!panelInfo->isHidden()) {
        panelInfoClick();
        SetInfoVisible(false);
    } else {
        SetInfoVisible(true);
    }
}

void TWaveformViewer::lblDeviceIDClick() {
    if (panelInfo->isHidden())
        SetInfoVisible(true);
    if (lblDeviceID->isHidden())
        return;
    const QString text = lblDeviceID->text();
    // The record may hold a longer ID than can be typed; taking it must not cut it short.
    editDeviceID->setMaxLength(std::max<int>(16, static_cast<int>(text.size())));
    editDeviceID->setText(text);
    lblDeviceID->hide();
    editDeviceID->show();
    editDeviceID->setFocus();
    editDeviceID->selectAll();
}

void TWaveformViewer::panelInfoClick() {
    if (editDeviceID->isHidden())
        return;
    lblDeviceID->setText(editDeviceID->text());
    UpdateChartTitle();
    lblDeviceID->show();
    editDeviceID->hide();
}

void TWaveformViewer::CancelDeviceIDEdit() {
    lblDeviceID->show();
    editDeviceID->hide();
}

void TWaveformViewer::mmSetChartAxisClick() {
    const ChartAxesState axes = chartWave->AxesState();
    AxisLimits limits{axes.bottom.range.min, axes.bottom.range.max, axes.left.range.min, axes.left.range.max};
    TSetAxis dialog(this, limits);
    if (dialog.exec() != QDialog::Accepted)
        return;
    chartWave->SetTimeAxis({limits.timeMin, limits.timeMax});
    chartWave->SetCurrentAxis({limits.currentMin, limits.currentMax});
}

void TWaveformViewer::tbPrintClick() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!Dialogs().SetupPrinter(this, *m_printer))
        return;
    chartWave->Print(*m_printer);
}

void TWaveformViewer::mmHelpClick() {
    ShowHelpTopic(HelpTopicWaveformViewer);
}

void TWaveformViewer::LoadPlacement() {
    const TSettings& settings = ProgramSettings();
    ApplyPlacement(*this, ReadPlacement(settings, Section), BuiltInSize);
    m_infoWidth = settings.ReadInteger(Section, QStringLiteral("INFOWIDTH"), DefaultInfoWidth);
    splitterInfo->setSizes({m_infoWidth, std::max(width() - m_infoWidth, 1)});
    SetInfoVisible(settings.ReadInteger(Section, QStringLiteral("SHOWINFO"), 1) != 0);
}

void TWaveformViewer::SavePlacement() {
    ::SavePlacement(*this, ProgramSettings(), Section,
                    TSettingsChanges()
                        .Set(Section, QStringLiteral("SHOWINFO"), panelInfo->isHidden() ? 0 : 1)
                        .Set(Section, QStringLiteral("INFOWIDTH"),
                             panelInfo->isHidden() ? m_infoWidth : panelInfo->width()));
}

void TWaveformViewer::hideEvent(QHideEvent* event) {
    // Minimizing hides the window too, as a spontaneous event; only a real hide or close counts.
    if (!event->spontaneous())
        SavePlacement();
    QMainWindow::hideEvent(event);
}

void TWaveformViewer::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed(this);
}

bool TWaveformViewer::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate)
        panelInfoClick();
    return QMainWindow::event(event);
}

bool TWaveformViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editDeviceID && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            panelInfoClick();
            return true;
        }
        if (key == Qt::Key_Escape) {
            CancelDeviceIDEdit();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::MouseButtonPress ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return QMainWindow::eventFilter(watched, event);
    if (watched == lblDeviceID) {
        lblDeviceIDClick();
        return true;
    }
    // Clicks elsewhere in the window commit an edit in progress; the chart still gets its click.
    panelInfoClick();
    return qobject_cast<QLabel*>(watched) != nullptr;
}
