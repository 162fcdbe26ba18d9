#pragma once
// The baselines' plain work: a bare query's rows put into a bare table model, and one device's delivered
// energies by a bare query, drawn as one graph per load into a bare plot (which has a graph for each load).

#include "records/tzrtestrec.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QVariant>
#include <qcustomplot.h>

// Every row of `q`, already run, as texts in `model` (which has a column for each of the row's values).
inline void AppendPlainRows(QSqlQuery& q, QStandardItemModel& model) {
    while (q.next()) {
        QList<QStandardItem*> row;
        for (int column = 0; column < model.columnCount(); ++column)
            row << new QStandardItem(q.value(column).toString());
        model.appendRow(row);
    }
}

inline void PlotPlainTrend(const QSqlDatabase& db, const QString& deviceId, QCustomPlot& plot) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT t.tested_at, l.load_index, l.delivered_energy FROM tests t "
                             "JOIN test_loads l ON l.test_id = t.id WHERE t.device_id = ? "
                             "ORDER BY t.tested_at"));
    q.addBindValue(deviceId);
    q.exec();
    QVector<double> keys[LOAD_COUNT], values[LOAD_COUNT];
    while (q.next()) {
        const int load = q.value(1).toInt();
        keys[load] << QDateTime::fromString(q.value(0).toString(), Qt::ISODate).toSecsSinceEpoch();
        values[load] << q.value(2).toDouble();
    }
    for (int load = 0; load < LOAD_COUNT; ++load)
        plot.graph(load)->setData(keys[load], values[load]);
    plot.rescaleAxes();
    plot.replot(QCustomPlot::rpImmediateRefresh);
}
