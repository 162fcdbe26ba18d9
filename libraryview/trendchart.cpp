#include "libraryview/trendchart.h"

#include "records/tzrtestrec.h"
#include "waveform/chartstyle.h"
#include "waveform/wavetexts.h"

#include <algorithm>

namespace {

constexpr double Day = 24.0 * 3600.0;
constexpr int BandAlpha = 16;

// The colour follows the line's position in the chart, as in the waveform viewer.
QColor LineColour(size_t position) {
    const SeriesRgb rgb = SeriesColour(static_cast<int>(position));
    return QColor(rgb.r, rgb.g, rgb.b);
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
    m_title->setText(QString());
    replot(rpQueuedReplot);
}

void TTrendChart::ShowTrend(const QString& deviceId, const QString& settingText,
                            const std::vector<TTrendLoad>& trend) {
    Clear();
    m_title->setText(ChartTitleLines(deviceId, settingText).join(QLatin1Char('\n')));
    if (trend.empty())
        return;
    // The dates the chart spans, with a margin; a single date gets a month on each side.
    double first = trend.front().keys.front();
    double last = first;
    for (const TTrendLoad& series : trend) {
        first = std::min(first, series.keys.front());
        last = std::max(last, series.keys.back());
    }
    const double margin = last > first ? (last - first) * 0.05 : 30 * Day;
    const QVector<double> span = {first - margin, last + margin};

    // The bands first, so that every line is drawn over them.
    for (size_t position = 0; position < trend.size(); ++position) {
        const TTrendLoad& series = trend[position];
        if (!series.declared)
            continue;
        const QColor colour = LineColour(position);
        QColor fill = colour;
        fill.setAlpha(BandAlpha);
        const double declared = *series.declared;
        // The band from declared - limit up to declared + limit.
        QCPGraph* low =
            AddGraph(QPen(Qt::NoPen), LoadName(series.load) + QStringLiteral(" lower limit"), false);
        low->setData(span, {declared - series.limit, declared - series.limit}, true);
        QCPGraph* high =
            AddGraph(QPen(Qt::NoPen), LoadName(series.load) + QStringLiteral(" upper limit"), false);
        high->setData(span, {declared + series.limit, declared + series.limit}, true);
        high->setBrush(fill);
        high->setChannelFillGraph(low);
        QCPGraph* line = AddGraph(QPen(colour, 1, Qt::DashLine),
                                  LoadName(series.load) + QStringLiteral(" declared"), false);
        line->setData(span, {declared, declared}, true);
    }
    for (size_t position = 0; position < trend.size(); ++position) {
        const TTrendLoad& series = trend[position];
        const QColor colour = LineColour(position);
        QCPGraph* energy = AddGraph(QPen(colour, 1.5), LoadName(series.load), true);
        energy->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, colour, colour, 6));
        energy->setData(QVector<double>(series.keys.begin(), series.keys.end()),
                        QVector<double>(series.energies.begin(), series.energies.end()), true);
    }
    xAxis->setRange(span[0], span[1]);
    // Months alone repeat on a span of a few months (one test, or tests close together): show the days then.
    if (auto dates = xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>()) {
        const bool days = span[1] - span[0] < 2 * 365 * Day;
        dates->setDateTimeFormat(days ? QStringLiteral("MMM d\nyyyy") : QStringLiteral("MMM yyyy"));
        dates->setTickCount(days ? 4 : 6);
    }
    yAxis->rescale();
    const QCPRange energies = yAxis->range();
    const double room = std::max(energies.size() * 0.08, 1.0);
    yAxis->setRange(std::max(0.0, energies.lower - room), energies.upper + room);
    replot(rpQueuedReplot);
}
