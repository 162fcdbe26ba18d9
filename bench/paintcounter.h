#pragma once
// Showing a window until a widget of it is painted: where the window benchmarks stop their clock.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// Counts the paint events a widget receives; given `shows`, only those while it returns true: the paints
// of what the widget is to show, not of what it showed while that was on its way.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(std::function<bool()> shows = nullptr) : m_shows(std::move(shows)) {}
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && (!m_shows || m_shows()))
            ++paints;
        return false;
    }

private:
    std::function<bool()> m_shows;
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

// Lets the application work until `done`, for up to ten seconds: the library answers from a thread of its
// own, so a number of rounds of the event loop says nothing about the time it had.
inline bool WorkUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QApplication::processEvents();
    return done();
}

// Waits until each widget has been painted since the wait was set, while its `shows` (if any) was true.
class PaintWait {
public:
    struct Watched {
        QWidget* widget;
        std::function<bool()> shows = nullptr;
    };
    explicit PaintWait(std::initializer_list<Watched> watched) {
        for (const Watched& w : watched) {
            m_counters.push_back(std::make_unique<PaintCounter>(w.shows));
            m_widgets.push_back(w.widget);
            w.widget->installEventFilter(m_counters.back().get());
        }
    }
    ~PaintWait() {
        for (size_t i = 0; i < m_widgets.size(); ++i)
            m_widgets[i]->removeEventFilter(m_counters[i].get());
    }
    PaintWait(const PaintWait&) = delete;
    PaintWait& operator=(const PaintWait&) = delete;
    bool Done() {
        return WorkUntil([this] {
            return std::all_of(m_counters.begin(), m_counters.end(), [](const auto& c) { return c->paints > 0; });
        });
    }

private:
    std::vector<std::unique_ptr<PaintCounter>> m_counters;
    std::vector<QWidget*> m_widgets;
};
