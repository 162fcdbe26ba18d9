#pragma once
// Showing a window until a widget of it is first painted: where the window benchmarks stop their clock.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Shows `window` and lets the application work until `painted` (the window or one of its widgets) has
// been painted once; false when that did not happen within 100 rounds of the event loop.
inline bool ShowUntilPainted(QWidget* window, QWidget* painted) {
    PaintCounter counter;
    painted->installEventFilter(&counter);
    window->show();
    for (int i = 0; i < 100 && counter.paints == 0; ++i)
        QApplication::processEvents();
    painted->removeEventFilter(&counter);
    return counter.paints > 0;
}
