#include "base/clock.h"

#include "base/seamdefault.h"

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

} // namespace

template <> Seam<Clock>& TheSeam<Clock>() {
    return SeamWithDefault<Clock, SystemClock>();
}

Clock& TheClock() {
    return *TheSeam<Clock>().Get();
}

template <> Seam<EventPump>& TheSeam<EventPump>() {
    return SeamWithDefault<EventPump, ApplicationPump>();
}

EventPump& ThePump() {
    return *TheSeam<EventPump>().Get();
}
