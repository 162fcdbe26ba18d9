#pragma once
// Windows that stand for the hardware on the bench (the demo's Simulator window) rather than for a
// window of the program. No window of the program blocks or disables them, and no message box of
// the program belongs to them: a technician can always fire the defibrillator, move a jumper or pull a
// cable, whatever the program is asking at the moment. Which windows they are comes from what the
// program's entry installs (the demo's simulated backend); without it, none.

#include "base/seam.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class BenchHardware {
public:
    virtual ~BenchHardware() = default;
    virtual bool IsBenchWindow(const QObject* window) const = 0;
};

template <>
Seam<BenchHardware>& TheSeam<BenchHardware>();

bool IsBenchHardware(const QObject* window);

// The bench hardware as a list of windows, for the demo's backend and the tests.
class BenchWindows : public BenchHardware {
public:
    void Add(QWidget& window) { m_windows.append(&window); }
    bool IsBenchWindow(const QObject* window) const override {
        for (const QPointer<QWidget>& bench : m_windows)
            if (bench && bench.data() == window)
                return true;
        return false;
    }

private:
    QList<QPointer<QWidget>> m_windows;
};
