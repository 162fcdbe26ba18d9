#include "waveform/chartstyle.h"

#include "base/uifonts.h"

namespace {

const QColor Navy(0, 0, 128);
const QColor Silver(192, 192, 192);

} // namespace

TChartParts StyleChart(QCustomPlot& plot) {
    plot.setBackground(Qt::white);
    const QFont font = WindowFont();

    // Title above, legend to the right of the plot area.
    QCPAxisRect* area = plot.axisRect();
    plot.plotLayout()->take(area);
    plot.plotLayout()->simplify();
    auto* title = new QCPTextElement(&plot, QString(), font);
    title->setTextColor(Navy);
    plot.plotLayout()->addElement(0, 0, title);
    auto* body = new QCPLayoutGrid;
    plot.plotLayout()->addElement(1, 0, body);
    body->addElement(0, 0, area);
    // The legend at the top of a column of its own, as tall as its entries.
    auto* side = new QCPLayoutGrid;
    body->addElement(0, 1, side);
    body->setColumnStretchFactor(1, 0.001);
    QCPLegend* legend = plot.legend;
    area->insetLayout()->take(legend);
    side->addElement(0, 0, legend);
    side->addElement(1, 0, new QCPLayoutElement(&plot));
    side->setRowStretchFactor(0, 0.001);
    side->setMargins(QMargins(0, 0, 6, 0)); // room for the legend's frame at the right edge
    legend->setVisible(true);
    legend->setFont(font);
    legend->setTextColor(Qt::black);
    legend->setIconSize(40, 12);
    legend->setLayer(QStringLiteral("legend"));

    for (QCPAxis* axis : {plot.xAxis, plot.yAxis}) {
        axis->setLabelFont(font);
        axis->setTickLabelFont(font);
    }
    plot.yAxis->setBasePen(QPen(Qt::black, 1));
    plot.yAxis->setSubTickPen(QPen(Silver));
    plot.yAxis->grid()->setSubGridPen(QPen(Silver, 0, Qt::DotLine));
    return {title, side};
}
