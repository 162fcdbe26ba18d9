#include "records/tzrtest.h"

#include <cstring>

void TZRTest::ClearTest() {
    std::memset(static_cast<void*>(this), 0, sizeof(TZRTest));
}

void TZRTest::CopyTest(const TZRTest& source) {
    if (&source != this)
        std::memcpy(static_cast<void*>(this), static_cast<const void*>(&source), sizeof(TZRTest));
}
