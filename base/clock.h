#pragma once
// The clock and event-pump seams. Transport and test-run code reads time and sleeps only through
// TheClock(), and lets the windows repaint only through ThePump(), so that tests run the analyzer's
// four-second read windows, pauses and polls in virtual time.

#include "base/seam.h"

#include <cstdint>

class Clock {
public:
    virtual ~Clock() = default;
    // Calendar clock in whole seconds (the read window's one-second resolution).
    virtual int64_t Seconds() = 0;
    // Monotonic milliseconds.
    virtual int64_t Milliseconds() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

class EventPump {
public:
    virtual ~EventPump() = default;
    // Processes the window messages that are waiting, so windows repaint and take input.
    virtual void ProcessMessages() = 0;
};

// The system clock until another is installed (ScopedInstall<Clock>).
template <> Seam<Clock>& TheSeam<Clock>();
Clock& TheClock();

// QCoreApplication::processEvents until another pump is installed (ScopedInstall<EventPump>).
template <> Seam<EventPump>& TheSeam<EventPump>();
EventPump& ThePump();
