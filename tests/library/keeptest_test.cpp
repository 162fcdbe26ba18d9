// Keeping a test in the program's library as the windows do: a record of no load data is never kept,
// and the library says so without a box of its own (the windows tell it); a shared library's server is
// never waited for at the end of a test.
#include "library/keeptest.h"
#include "library/outbox.h"
#include "library/programlibrary.h"
#include "tests/support/libraryanswers.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/silentserver.h"
#include "tests/support/tempsettings.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

class KeepTest : public ::testing::Test {
protected:
    ~KeepTest() override { CloseProgramLibrary(); }
    TempSettings settings;
    ScriptedMessages boxes;
};

} // namespace

TEST_F(KeepTest, RecordOfNoLoadDataIsNeverAddedAndSaysSo) {
    auto empty = std::make_unique<TZRTestRec>();
    empty->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-0042"));
    EXPECT_EQ(KeepTestInLibrary(*empty, std::nullopt).outcome, TKeepOutcome::NoLoadData);

    auto full = MakeFullRecord();
    const TKeepResult added = KeepTestInLibrary(*full, std::nullopt);
    EXPECT_EQ(added.outcome, TKeepOutcome::Kept);
    EXPECT_FALSE(added.alreadyPresent);
    EXPECT_TRUE(KeepTestInLibrary(*full, std::nullopt).alreadyPresent);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    QString why;
    ASSERT_TRUE(ProgramLibrary(why));
    EXPECT_EQ(ProgramLibrary(why)->List().size(), 1u);
}

// The end of a test on a shared library whose server does not answer: the call is back at once, the test
// waits in the outbox before the server is asked, and what the server said is told when it is known, to
// a window that is still there.
TEST_F(KeepTest, AFinishedTestNeverWaitsForASharedLibrarysServer) {
    SilentServer server;
    ASSERT_TRUE(server.Listening());
    settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("DATABASE"), server.Address());
    auto first = MakeFullRecord();
    auto second = MakeFullRecord();
    second->SetDeviceInfo(diDeviceID, QStringLiteral("DEF-0100"));
    std::vector<TKeepResult> told;
    auto viewer = std::make_unique<QObject>();
    QElapsedTimer clock;
    clock.start();
    KeepFinishedTest(*first, std::nullopt, viewer.get(),
                     [&](const TKeepResult& kept) { told.push_back(kept); });
    KeepFinishedTest(*second, std::nullopt, viewer.get(),
                     [&](const TKeepResult& kept) { told.push_back(kept); });
    EXPECT_LT(clock.elapsed(), 500);
    QString why;
    const std::unique_ptr<TOutbox> outbox = TOutbox::Open(ProgramOutboxLocation(), why);
    ASSERT_TRUE(outbox) << why.toStdString();
    EXPECT_EQ(outbox->Waiting(server.Address()).size(), 2u);
    EXPECT_TRUE(told.empty());

    ASSERT_TRUE(LibraryAnswered());
    ASSERT_EQ(told.size(), 2u);
    for (const TKeepResult& kept : told) {
        EXPECT_EQ(kept.outcome, TKeepOutcome::NotKept);
        EXPECT_TRUE(kept.queued);
        EXPECT_TRUE(kept.why.contains(QStringLiteral("cannot be used"))) << kept.why.toStdString();
    }
    // The viewer closed before the server answered: nothing is told, the test still waits.
    told.clear();
    KeepFinishedTest(*first, std::nullopt, viewer.get(),
                     [&](const TKeepResult& kept) { told.push_back(kept); });
    viewer.reset();
    ASSERT_TRUE(LibraryAnswered());
    EXPECT_TRUE(told.empty());
    const std::vector<TOutboxEntry> waiting = outbox->Waiting(server.Address());
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_TRUE(waiting[0].why.contains(QStringLiteral("cannot be used"))) << waiting[0].why.toStdString();
    EXPECT_TRUE(boxes.Shown().isEmpty());
}
