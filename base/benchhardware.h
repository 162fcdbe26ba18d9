#pragma once
// Windows that stand for the hardware on the bench (the demo's Simulator window) rather than for a
// window of the program. No window of the program blocks or disables them, and no message box of
// the program belongs to them: a technician can always fire the defibrillator, move a jumper or pull a
// cable, whatever the program is asking at the moment.

#include <QObject>
#include <QVariant>

inline constexpr char BenchHardwareProperty[] = "corvexBenchHardware";

inline void MarkAsBenchHardware(QObject& window) {
    window.setProperty(BenchHardwareProperty, true);
}

inline bool IsBenchHardware(const QObject* window) {
    return window != nullptr && window->property(BenchHardwareProperty).toBool();
}
