// Installs nest: each scoped install puts back what was there before it, not the default.
#include "base/clock.h"
#include "base/messages.h"
#include "tests/support/scriptedmessages.h"

#include <gtest/gtest.h>

namespace {

class FixedClock : public Clock {
public:
    explicit FixedClock(int64_t seconds) : m_seconds(seconds) {}
    int64_t Seconds() override { return m_seconds; }
    int64_t Milliseconds() override { return m_seconds * 1000; }
    void Sleep(int) override {}

private:
    int64_t m_seconds;
};

} // namespace

TEST(Seam, AnInstallInsideAnotherPutsBackTheOuterOne) {
    Clock& system = TheClock();
    FixedClock outer(10), inner(20);
    {
        const ScopedInstall<Clock> first(outer);
        EXPECT_EQ(TheClock().Seconds(), 10);
        {
            const ScopedInstall<Clock> second(inner);
            EXPECT_EQ(TheClock().Seconds(), 20);
        }
        EXPECT_EQ(TheClock().Seconds(), 10);
    }
    EXPECT_EQ(&TheClock(), &system);

    // A tool's scripted boxes inside a test's: the test's answer the boxes after the tool's are gone.
    ScriptedMessages test;
    {
        ScriptedMessages tool;
        ShowMessage(QStringLiteral("inner"), QStringLiteral("Tool"), MsgIcon::Information);
        EXPECT_EQ(tool.Shown().size(), 1);
    }
    ShowMessage(QStringLiteral("outer"), QStringLiteral("Test"), MsgIcon::Information);
    ASSERT_EQ(test.Shown().size(), 1);
    EXPECT_EQ(test.Shown()[0].caption, QStringLiteral("Test"));
}
