#pragma once
// Counts the paint events a widget receives, so a benchmark can stop its clock at the first paint.

#include <QEvent>
#include <QObject>

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
