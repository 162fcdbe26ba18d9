#pragma once
// Shared setup of the transport tests: a virtual clock installed as TheClock(), and a pump and
// progress display that count what the block reader does.

#include "base/clock.h"
#include "link/progressstepper.h"
#include "sim/virtualclock.h"

#include <functional>
#include <gtest/gtest.h>

class CountingPump : public EventPump {
public:
    void ProcessMessages() override {
        ++calls;
        if (onPump)
            onPump(calls);
    }
    int calls = 0;
    std::function<void(int)> onPump;

private:
    const ScopedInstall<EventPump> m_installed{*this}; // installed for the lifetime of this object
};

// Starts the virtual clock at a whole calendar second, so a read window is exactly four seconds.
class LinkTest : public ::testing::Test {
protected:
    VirtualClock clock{1'800'000'000, 0};
    ScopedClock installClock{clock};
    CountingPump pump;

    double ElapsedSeconds(int64_t sinceMicros) const { return (clock.Microseconds() - sinceMicros) / 1e6; }
};
