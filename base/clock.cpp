#include "base/clock.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <ctime>

namespace {

class SystemClock : public Clock {
public:
    int64_t Seconds() override { return static_cast<int64_t>(std::time(nullptr)); }
    int64_t Milliseconds() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void Sleep(int milliseconds) override { QThread::msleep(static_cast<unsigned long>(milliseconds)); }
};

class ApplicationPump : public EventPump {
public:
    void ProcessMessages() override {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
    }
};

SystemClock g_systemClock;
ApplicationPump g_applicationPump;
Clock* g_clock = nullptr;
EventPump* g_pump = nullptr;

} // namespace

Clock& TheClock() {
    return g_clock ? *g_clock : g_systemClock;
}

void InstallClock(Clock* clock) {
    g_clock = clock;
}

EventPump& ThePump() {
    return g_pump ? *g_pump : g_applicationPump;
}

void InstallPump(EventPump* pump) {
    g_pump = pump;
}
