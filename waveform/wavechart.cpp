#include "waveform/wavechart.h"

#include "waveform/chartstyle.h"
#include "waveform/wavetexts.h"

#include <QPicture>
#include <QPrinter>
#include <QToolTip>
#include <cmath>

namespace {

constexpr int AnimationStepMs = 16;
constexpr int PrintMargin = 200;

// Tick labels as "#,##0.###", the same text as the read-out.
class ReadoutTicker : public QCPAxisTicker {
protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar, int) override {
        return FormatCurrentReadout(tick, locale);
    }
};

QCPScatterStyle Marker(const QColor& colour, bool visible) {
    if (!visible)
        return QCPScatterStyle(QCPScatterStyle::ssNone);
    // A 3 x 3 disc drawn once and stamped at every point: thousands of points stay quick to draw.
    QPixmap disc(3, 3);
    disc.fill(Qt::transparent);
    {
        QPainter p(&disc);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(QRectF(0, 0, 3, 3));
    }
    QCPScatterStyle marker(disc);
    marker.setSize(3);
    marker.setPen(QPen(Qt::NoPen));
    marker.setBrush(QBrush(colour));
    return marker;
}

AxisRange RangeOf(const QCPAxis* axis) {
    return {axis->range().lower, axis->range().upper};
}

AxisPixels PixelsOf(const QCPAxis* axis) {
    const QCPRange r = axis->range();
    return {r.lower, r.upper, axis->coordToPixel(r.lower), axis->coordToPixel(r.upper)};
}

} // namespace

TWaveChart::TWaveChart(QWidget* parent) : QCustomPlot(parent) {
    setMouseTracking(true);
    const TChartParts parts = StyleChart(*this);
    m_title = parts.title;
    m_legendColumn = parts.legendColumn;
    xAxis->setLabel(QStringLiteral("Time (msec)"));
    yAxis->setLabel(QStringLiteral("Current (A)"));
    for (QCPAxis* axis : {xAxis, yAxis})
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new ReadoutTicker));

    setNoAntialiasingOnDrag(true);
    SetRectangleZoom(false);
    axisRect()->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    connect(selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& rect, QMouseEvent*) { RectangleDragged(rect); });

    m_stepTimer.setInterval(AnimationStepMs);
    connect(&m_stepTimer, &QTimer::timeout, this, &TWaveChart::StepAnimation);
}

int TWaveChart::AddSeries(const QString& title, const QColor& colour, WaveSeriesData points) {
    QCPGraph* graph = addGraph(xAxis, yAxis);
    graph->setName(title);
    graph->setPen(QPen(colour));
    graph->setScatterStyle(Marker(colour, m_dataPoints));
    graph->setData(points.keys, points.values, true);
    m_series.push_back(std::move(points));
    RescaleAutomaticAxes();
    replot(rpQueuedReplot);
    return SeriesCount() - 1;
}

AxisRange TWaveChart::SeriesValueRange(int series) const {
    const WaveSeriesData& points = m_series.at(static_cast<size_t>(series));
    AxisRange range;
    bool first = true;
    for (double v : points.values) {
        if (std::isnan(v))
            continue;
        range.min = first ? v : std::min(range.min, v);
        range.max = first ? v : std::max(range.max, v);
        first = false;
    }
    return range;
}

void TWaveChart::SetTitleLines(const QStringList& lines) {
    m_title->setText(lines.join(QLatin1Char('\n')));
    replot(rpQueuedReplot);
}

QStringList TWaveChart::TitleLines() const {
    return m_title->text().split(QLatin1Char('\n'));
}

void TWaveChart::SetLegendVisible(bool visible) {
    if (visible == legend->visible())
        return;
    legend->setVisible(visible);
    // Out of the layout while hidden: a hidden element still keeps its room in a layout grid.
    if (visible)
        m_legendColumn->addElement(0, 0, legend);
    else
        m_legendColumn->take(legend);
    replot(rpQueuedReplot);
}

void TWaveChart::SetDataPointsVisible(bool visible) {
    m_dataPoints = visible;
    for (int i = 0; i < graphCount(); ++i)
        graph(i)->setScatterStyle(Marker(graph(i)->pen().color(), visible));
    replot(rpQueuedReplot);
}

ChartAxesState TWaveChart::AxesState() {
    FinishAnimation();
    return {{m_timeAutomatic, RangeOf(xAxis)}, {m_currentAutomatic, RangeOf(yAxis)}};
}

void TWaveChart::SetAxisRange(QCPAxis* axis, AxisRange range) {
    if (range.min > range.max)
        std::swap(range.min, range.max);
    axis->setRange(range.min, range.max);
}

void TWaveChart::SetTimeAxis(AxisRange range) {
    FinishAnimation();
    m_timeAutomatic = false;
    SetAxisRange(xAxis, range);
    replot(rpQueuedReplot);
}

void TWaveChart::SetCurrentAxis(AxisRange range) {
    FinishAnimation();
    m_currentAutomatic = false;
    SetAxisRange(yAxis, range);
    replot(rpQueuedReplot);
}

void TWaveChart::SetTimeAxisAutomatic() {
    FinishAnimation();
    m_timeAutomatic = true;
    RescaleAutomaticAxes();
    replot(rpQueuedReplot);
}

void TWaveChart::RescaleAutomaticAxes() {
    if (m_timeAutomatic)
        xAxis->rescale();
    if (m_currentAutomatic)
        yAxis->rescale();
}

void TWaveChart::ApplyState(const ChartAxesState& state) {
    m_timeAutomatic = state.bottom.automatic;
    m_currentAutomatic = state.left.automatic;
    if (!m_timeAutomatic)
        SetAxisRange(xAxis, state.bottom.range);
    if (!m_currentAutomatic)
        SetAxisRange(yAxis, state.left.range);
    RescaleAutomaticAxes();
}

void TWaveChart::ZoomPercent(double percent) {
    const ChartAxesState before = AxesState();
    m_history.NoteBeforeChange(before);
    AnimateTo(ZoomedRange(before.bottom.range, percent), ZoomedRange(before.left.range, percent));
}

void TWaveChart::ZoomToPixels(const QRect& rect) {
    const ChartAxesState before = AxesState();
    m_history.NoteBeforeChange(before);
    const QRect r = rect.normalized();
    AnimateTo({xAxis->pixelToCoord(r.left()), xAxis->pixelToCoord(r.right())},
              {yAxis->pixelToCoord(r.bottom()), yAxis->pixelToCoord(r.top())});
}

void TWaveChart::UndoZoom() {
    FinishAnimation();
    if (const std::optional<ChartAxesState> saved = m_history.TakeUndo())
        ApplyState(*saved);
    replot(rpQueuedReplot);
}

void TWaveChart::AnimateTo(AxisRange time, AxisRange current) {
    m_timeAutomatic = false;
    m_currentAutomatic = false;
    m_animation = Animation{RangeOf(xAxis), time, RangeOf(yAxis), current, 0};
    StepAnimation();
    if (m_animation)
        m_stepTimer.start();
}

void TWaveChart::StepAnimation() {
    if (!m_animation)
        return;
    Animation& a = *m_animation;
    ++a.step;
    SetAxisRange(xAxis, StepRange(a.fromTime, a.toTime, a.step));
    SetAxisRange(yAxis, StepRange(a.fromCurrent, a.toCurrent, a.step));
    if (a.step >= ZoomAnimationSteps) {
        m_animation.reset();
        m_stepTimer.stop();
    }
    replot(rpQueuedReplot);
}

void TWaveChart::FinishAnimation() {
    if (!m_animation)
        return;
    m_animation->step = ZoomAnimationSteps - 1;
    StepAnimation();
}

void TWaveChart::SetRectangleZoom(bool on) {
    m_rectangleZoom = on;
    if (on) {
        setInteractions(QCP::iNone);
        setSelectionRectMode(QCP::srmCustom);
    } else {
        setSelectionRectMode(QCP::srmNone);
        setInteractions(QCP::iRangeDrag);
    }
    if (underMouse())
        SetIdleCursor();
}

void TWaveChart::RectangleDragged(const QRect& rect) {
    // The rectangle runs from where the button went down to where it came up.
    switch (ClassifyZoomDrag(rect.topLeft(), rect.bottomRight())) {
    case ZoomDrag::ZoomToRect:
        ZoomToPixels(rect);
        break;
    case ZoomDrag::UndoZoom:
        UndoZoom();
        break;
    case ZoomDrag::None:
        break;
    }
}

int TWaveChart::SeriesAt(const QPoint& pos) const {
    const AxisPixels x = PixelsOf(xAxis);
    const AxisPixels y = PixelsOf(yAxis);
    for (int i = 0; i < SeriesCount(); ++i)
        if (HitTestLine(m_series[static_cast<size_t>(i)], x, y, pos) >= 0)
            return i;
    return -1;
}

QString TWaveChart::CurrentTextAt(const QPoint& pos) const {
    return FormatCurrentReadout(yAxis->pixelToCoord(pos.y()), locale());
}

void TWaveChart::UpdateReadout(const QPoint& pos) {
    if (SeriesAt(pos) < 0) {
        if (!toolTip().isEmpty()) {
            setToolTip(QString());
            QToolTip::hideText();
        }
        SetIdleCursor();
        return;
    }
    setCursor(Qt::PointingHandCursor);
    const QString text = CurrentTextAt(pos);
    setToolTip(text);
    // A hint already showing follows the mouse; otherwise it appears after the usual delay.
    if (QToolTip::isVisible())
        QToolTip::showText(mapToGlobal(pos), text, this);
}

void TWaveChart::SetIdleCursor() {
    if (m_rectangleZoom)
        setCursor(Qt::CrossCursor);
    else
        unsetCursor();
}

void TWaveChart::mousePressEvent(QMouseEvent* event) {
    FinishAnimation();
    if (event->button() != Qt::LeftButton) {
        // Only the left button pans or drags a zoom rectangle; the right one opens the pop-up menu.
        event->accept();
        return;
    }
    if (!m_rectangleZoom)
        m_panStart = AxesState();
    QCustomPlot::mousePressEvent(event);
}

void TWaveChart::mouseMoveEvent(QMouseEvent* event) {
    QCustomPlot::mouseMoveEvent(event);
    if (m_panStart &&
        (RangeOf(xAxis) != m_panStart->bottom.range || RangeOf(yAxis) != m_panStart->left.range)) {
        m_history.NoteBeforeChange(*m_panStart);
        m_timeAutomatic = false;
        m_currentAutomatic = false;
        m_panStart.reset();
    }
    UpdateReadout(event->pos());
}

void TWaveChart::mouseReleaseEvent(QMouseEvent* event) {
    m_panStart.reset();
    QCustomPlot::mouseReleaseEvent(event);
}

void TWaveChart::enterEvent(QEnterEvent* event) {
    SetIdleCursor();
    QCustomPlot::enterEvent(event);
}

void TWaveChart::leaveEvent(QEvent* event) {
    unsetCursor();
    setToolTip(QString());
    QCustomPlot::leaveEvent(event);
}

void TWaveChart::Render(QPainter& painter, const QRect& target) {
    const double scale = static_cast<double>(painter.device()->logicalDpiX()) / logicalDpiX();
    const QSize size(qRound(target.width() / scale), qRound(target.height() / scale));
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        recorder.setMode(QCPPainter::pmVectorized);
        recorder.setMode(QCPPainter::pmNoCaching);
        toPainter(&recorder, size.width(), size.height());
    }
    // A picture plays back at the resolution of the device it is drawn on.
    painter.drawPicture(target.topLeft(), picture);
    replot(rpQueuedReplot); // drawing at another size changed the layout
}

void TWaveChart::Print(QPrinter& printer) {
    FinishAnimation();
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (painter.begin(&printer)) {
        const QRect page(0, 0, printer.width(), printer.height());
        Render(painter, page.adjusted(PrintMargin, PrintMargin, -PrintMargin, -PrintMargin));
        painter.end();
    }
    printer.setPageOrientation(QPageLayout::Portrait);
}
