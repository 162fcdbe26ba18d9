#include "base/loadundertest.h"

namespace {

// One test runs at a time, on the one user-interface thread.
int g_loadUnderTest = NoLoadUnderTest;

} // namespace

void AnnounceLoadUnderTest(int load) {
    g_loadUnderTest = load;
}

int LoadUnderTest() {
    return g_loadUnderTest;
}
