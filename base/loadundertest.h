#pragma once
// The load the test on the bench is on, announced by the test run whenever it shows a step. What
// stands for the bench hardware (the demo's Simulator, `zrqtool simulate`) follows it to set the
// accessory's jumpers, instead of looking for the test's windows or into the test run: it reads the
// load when it needs it, or listens to each announcement.

#include <functional>

constexpr int NoLoadUnderTest = -1;

// 0..6 while a load step is shown; NoLoadUnderTest on the closing step and when no test runs.
void AnnounceLoadUnderTest(int load);
int LoadUnderTest();

// Calls `heard` with the load on each announcement that changes it, for as long as it lives. One
// user-interface thread: announcements and listeners live on it.
class LoadUnderTestListener {
public:
    explicit LoadUnderTestListener(std::function<void(int load)> heard);
    ~LoadUnderTestListener();
    LoadUnderTestListener(const LoadUnderTestListener&) = delete;
    LoadUnderTestListener& operator=(const LoadUnderTestListener&) = delete;

private:
    friend void AnnounceLoadUnderTest(int load);
    std::function<void(int)> m_heard;
};
