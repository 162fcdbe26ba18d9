#pragma once
// A clock that only moves when told to: tests run the four-second read windows, the 1000 ms pause
// and the 200 ms polls of the test run in virtual time, without waiting. The simulated analyzer shares
// it and moves it forward a little on every driver call, as a real USB round trip takes time, so a
// busy poll for a reply that never comes ends after the read window in virtual time.

#include "base/clock.h"

#include <cstdint>

class VirtualClock : public Clock {
public:
    // The calendar time at the start, in whole seconds and microseconds into that second.
    explicit VirtualClock(int64_t startSeconds = 1'800'000'000, int64_t startMicroseconds = 0);

    int64_t Seconds() override;
    int64_t Milliseconds() override;
    // Moves the clock forward instead of waiting.
    void Sleep(int milliseconds) override;

    // Microseconds since the clock was made.
    int64_t Microseconds() const { return m_micros; }
    void Advance(int64_t microseconds);
    // Moves forward to `microseconds` since the clock was made (never backward).
    void AdvanceTo(int64_t microseconds);

private:
    int64_t m_startSeconds;
    int64_t m_startMicros;
    int64_t m_micros = 0;
};

// Installs a clock as TheClock() for the lifetime of this object (tests and the demo program).
using ScopedClock = ScopedInstall<Clock>;
