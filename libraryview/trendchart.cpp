#include "libraryview/trendchart.h"

#include "records/tzrtestrec.h"
#include "report/verdictchooser.h"
#include "waveform/chartstyle.h"
#include "waveform/wavetexts.h"

#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>

namespace {

constexpr double Day = 24.0 * 3600.0;
constexpr int BandsAlpha = 48;   // shared by the bands drawn, so that seven overlapping ones stay light
constexpr double TipReach = 8.0; // pixels from a point that still show its tool tip
const QColor Neutral(64, 64, 64);
const QColor Marker(96, 96, 96); // the analyzer changes and the box of a point at another energy

// A load keeps its colour whether it is drawn alone or with the others.
QColor LoadColour(int load) {
    const SeriesRgb rgb = SeriesColour(load);
    return QColor(rgb.r, rgb.g, rgb.b);
}

QCPScatterStyle MarkStyle(TTrendMark mark, const QColor& colour) {
    switch (mark) {
    case TTrendMark::Pass:
        return QCPScatterStyle(QCPScatterStyle::ssDisc, colour, colour, 7);
    case TTrendMark::Fail:
        return QCPScatterStyle(QCPScatterStyle::ssCross, QPen(CheckColour(TLoadCheck::Fail), 2.2),
                               Qt::NoBrush, 11);
    case TTrendMark::NoDeclaredValue:
    case TTrendMark::NotChecked:
        break;
    }
    return QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(colour, 1.5), QBrush(Qt::white), 8);
}

// Around the point's own marker; smaller in the legend, whose icons are 12 pixels high.
QCPScatterStyle OtherEnergyStyle(double size = 14) {
    return QCPScatterStyle(QCPScatterStyle::ssSquare, QPen(Marker, 1.2), Qt::NoBrush, size);
}

// The kinds of marker, one legend entry each: the two not judged share one.
constexpr TTrendMark MarkKinds[] = {TTrendMark::Pass, TTrendMark::Fail, TTrendMark::NotChecked};

bool SameKind(TTrendMark a, TTrendMark b) {
    return TrendMarkName(a) == TrendMarkName(b);
}

} // namespace

TTrendChart::TTrendChart(QWidget* parent) : QCustomPlot(parent) {
    m_title = StyleChart(*this).title;
    xAxis->setLabel(QStringLiteral("Date of test"));
    yAxis->setLabel(QStringLiteral("Delivered energy (J)"));
    auto dates = QSharedPointer<QCPAxisTickerDateTime>::create();
    dates->setDateTimeFormat(QStringLiteral("MMM yyyy"));
    dates->setTickCount(6);
    xAxis->setTicker(dates);
}

QCPGraph* TTrendChart::AddGraph(const QPen& pen, const QString& name, bool inLegend) {
    QCPGraph* graph = addGraph(xAxis, yAxis);
    graph->setName(name);
    graph->setPen(pen);
    if (!inLegend)
        graph->removeFromLegend();
    return graph;
}

void TTrendChart::Clear() {
    clearGraphs();
    clearItems();
    m_trend = TTrend();
    m_title->setText(QString());
    legend->setVisible(false);
    replot(rpQueuedReplot);
}

void TTrendChart::SayEmpty(const QString& text) {
    auto* note = new QCPItemText(this);
    note->position->setType(QCPItemPosition::ptAxisRectRatio);
    note->position->setCoords(0.5, 0.5);
    note->setText(text);
    note->setFont(xAxis->labelFont());
    note->setColor(Neutral);
}

void TTrendChart::ShowTrend(const QString& deviceId, const QString& settingText, TTrend trend,
                            const QString& emptyText) {
    Clear();
    m_trend = std::move(trend);
    m_title->setText(ChartTitleLines(deviceId, settingText).join(QLatin1Char('\n')));
    if (m_trend.Empty()) {
        SayEmpty(emptyText);
        return;
    }
    // The dates the chart spans, with a margin; a single date gets a month on each side.
    const double first = m_trend.tests.front().key;
    const double last = m_trend.tests.back().key;
    const double margin = last > first ? (last - first) * 0.05 : 30 * Day;
    const QVector<double> span = {first - margin, last + margin};

    DrawBands(span); // first, so that every line is drawn over them
    DrawLoads();
    DrawLegendMarks();
    legend->setVisible(true);
    xAxis->setRange(span[0], span[1]);
    DrawAnalyzerChanges();
    // Months alone repeat on a span of a few months (one test, or tests close together): show the days
    // then, and the hours within a few days.
    if (auto dates = xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>()) {
        const QString format = TrendAxisFormat(span[1] - span[0]);
        dates->setDateTimeFormat(format);
        dates->setTickCount(format == QStringLiteral("MMM yyyy") ? 6 : 4);
    }
    yAxis->rescale();
    const QCPRange energies = yAxis->range();
    const double room = std::max(energies.size() * 0.08, 1.0);
    // Below the points, room for the names of the analyzers along the date axis.
    const double below = m_trend.analyzerChanges.empty() ? room : 3 * room;
    yAxis->setRange(std::max(0.0, energies.lower - below), energies.upper + room);
    replot(rpQueuedReplot);
}

void TTrendChart::DrawBands(const QVector<double>& span) {
    const auto bands = std::count_if(m_trend.loads.begin(), m_trend.loads.end(),
                                     [](const TTrendLoad& series) { return series.declared.has_value(); });
    const int alpha = std::max(6, BandsAlpha / static_cast<int>(std::max<std::ptrdiff_t>(bands, 1)));
    for (const TTrendLoad& series : m_trend.loads) {
        if (!series.declared)
            continue;
        const QColor colour = LoadColour(series.load);
        QColor fill = colour;
        fill.setAlpha(alpha);
        const double declared = *series.declared;
        const QString name = LoadName(series.load);
        // The band from declared - limit up to declared + limit.
        QCPGraph* low = AddGraph(QPen(Qt::NoPen), name + QStringLiteral(" lower limit"), false);
        low->setData(span, {declared - series.limit, declared - series.limit}, true);
        QCPGraph* high = AddGraph(QPen(Qt::NoPen), name + QStringLiteral(" upper limit"), false);
        high->setData(span, {declared + series.limit, declared + series.limit}, true);
        high->setBrush(fill);
        high->setChannelFillGraph(low);
        QCPGraph* line = AddGraph(QPen(colour, 1, Qt::DashLine), name + QStringLiteral(" declared"), false);
        line->setData(span, {declared, declared}, true);
    }
}

void TTrendChart::DrawLoads() {
    for (const TTrendLoad& series : m_trend.loads) {
        const QColor colour = LoadColour(series.load);
        const QString name = LoadName(series.load);
        QCPGraph* line = AddGraph(QPen(colour, 1.5), name, true);
        line->setData(QVector<double>(series.lineKeys.begin(), series.lineKeys.end()),
                      QVector<double>(series.lineEnergies.begin(), series.lineEnergies.end()), true);
        // One graph of points per kind of marker, and the boxes around those at another energy.
        for (TTrendMark kind : MarkKinds) {
            QVector<double> keys, energies;
            for (const TTrendPoint& point : series.points)
                if (SameKind(point.mark, kind)) {
                    keys << m_trend.tests[point.test].key;
                    energies << point.energy;
                }
            if (keys.isEmpty())
                continue;
            QCPGraph* marks = AddGraph(Qt::NoPen, name + QLatin1Char(' ') + TrendMarkName(kind), false);
            marks->setLineStyle(QCPGraph::lsNone);
            marks->setScatterStyle(MarkStyle(kind, colour));
            marks->setData(keys, energies, true);
        }
        QVector<double> keys, energies;
        for (const TTrendPoint& point : series.points)
            if (point.otherEnergy) {
                keys << m_trend.tests[point.test].key;
                energies << point.energy;
            }
        if (keys.isEmpty())
            continue;
        QCPGraph* boxes = AddGraph(Qt::NoPen, name + QStringLiteral(" at another energy"), false);
        boxes->setLineStyle(QCPGraph::lsNone);
        boxes->setScatterStyle(OtherEnergyStyle());
        boxes->setData(keys, energies, true);
    }
}

void TTrendChart::DrawLegendMarks() {
    // Entries without data, in a neutral colour: a marker means the same on every load's line.
    const auto entry = [this](const QString& name, const QCPScatterStyle& style) {
        QCPGraph* graph = AddGraph(Qt::NoPen, name, true);
        graph->setLineStyle(QCPGraph::lsNone);
        graph->setScatterStyle(style);
    };
    for (TTrendMark kind : MarkKinds)
        if (m_trend.Has(kind) || (kind == TTrendMark::NotChecked && m_trend.Has(TTrendMark::NoDeclaredValue)))
            entry(TrendMarkName(kind), MarkStyle(kind, Neutral));
    if (m_trend.HasOtherEnergy())
        entry(QStringLiteral("At another energy"), OtherEnergyStyle(10));
}

void TTrendChart::DrawAnalyzerChanges() {
    for (const TAnalyzerChange& change : m_trend.analyzerChanges) {
        auto* line = new QCPItemStraightLine(this);
        line->setPen(QPen(Marker, 1, Qt::DashDotLine));
        line->point1->setCoords(change.key, 0);
        line->point2->setCoords(change.key, 1);
        // Its name along the date axis below the points, on the side of the line with more room.
        auto* name = new QCPItemText(this);
        name->position->setTypeX(QCPItemPosition::ptPlotCoords);
        name->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        name->position->setCoords(change.key, 1.0);
        // Left of the line only where the right has too little room, with an arrow to the line then.
        const QCPRange dates = xAxis->range();
        const bool right = change.key < dates.lower + 0.6 * dates.size();
        name->setPositionAlignment((right ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignBottom);
        name->setPadding(QMargins(3, 0, 3, 1));
        name->setText(QStringLiteral("Analyzer%1\n%2")
                          .arg(right ? QString() : QStringLiteral(" \u2192"), change.analyzerId));
        name->setTextAlignment(right ? Qt::AlignLeft : Qt::AlignRight);
        name->setColor(Marker);
        name->setFont(xAxis->tickLabelFont());
    }
}

QString TTrendChart::TipAt(const QPoint& pixel) const {
    const TTrendLoad* nearestLoad = nullptr;
    const TTrendPoint* nearest = nullptr;
    double best = TipReach * TipReach;
    for (const TTrendLoad& series : m_trend.loads)
        for (const TTrendPoint& point : series.points) {
            const double dx = xAxis->coordToPixel(m_trend.tests[point.test].key) - pixel.x();
            const double dy = yAxis->coordToPixel(point.energy) - pixel.y();
            if (dx * dx + dy * dy <= best) {
                best = dx * dx + dy * dy;
                nearestLoad = &series;
                nearest = &point;
            }
        }
    return nearest ? TrendPointText(m_trend, *nearestLoad, *nearest) : QString();
}

bool TTrendChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = TipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    return QCustomPlot::event(event);
}
