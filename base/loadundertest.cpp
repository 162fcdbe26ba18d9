#include "base/loadundertest.h"

#include <algorithm>
#include <vector>

namespace {

// One test runs at a time, on the one user-interface thread.
int g_loadUnderTest = NoLoadUnderTest;
std::vector<LoadUnderTestListener*> g_listeners;

} // namespace

void AnnounceLoadUnderTest(int load) {
    if (load == g_loadUnderTest)
        return;
    g_loadUnderTest = load;
    // A listener may go while it hears: call those still listening.
    const std::vector<LoadUnderTestListener*> listeners = g_listeners;
    for (LoadUnderTestListener* listener : listeners)
        if (std::find(g_listeners.begin(), g_listeners.end(), listener) != g_listeners.end())
            listener->m_heard(load);
}

int LoadUnderTest() {
    return g_loadUnderTest;
}

LoadUnderTestListener::LoadUnderTestListener(std::function<void(int)> heard) : m_heard(std::move(heard)) {
    g_listeners.push_back(this);
}

LoadUnderTestListener::~LoadUnderTestListener() {
    g_listeners.erase(std::find(g_listeners.begin(), g_listeners.end(), this));
}
