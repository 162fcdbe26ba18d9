#include "sim/virtualclock.h"

VirtualClock::VirtualClock(int64_t startSeconds, int64_t startMicroseconds)
    : m_startSeconds(startSeconds), m_startMicros(startMicroseconds) {}

int64_t VirtualClock::Seconds() {
    return m_startSeconds + (m_startMicros + m_micros) / 1'000'000;
}

int64_t VirtualClock::Milliseconds() {
    return m_micros / 1000;
}

void VirtualClock::Sleep(int milliseconds) {
    if (milliseconds > 0)
        Advance(static_cast<int64_t>(milliseconds) * 1000);
}

void VirtualClock::Advance(int64_t microseconds) {
    if (microseconds > 0)
        m_micros += microseconds;
}

void VirtualClock::AdvanceTo(int64_t microseconds) {
    if (microseconds > m_micros)
        m_micros = microseconds;
}
