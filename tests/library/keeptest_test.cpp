// Keeping a test in the program's library as the windows do: a record of no load data is never kept,
// and the library says so without a box of its own (the windows tell it); a shared library's server is
// never waited for at the end of a test; a test that enters the library off the main thread is handed
// off on it.
#include "library/handoff.h"
#include "library/keeptest.h"
#include "library/outbox.h"
#include "library/programlibrary.h"
#include "tests/support/libraryanswers.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/silentserver.h"
#include "tests/support/tempsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <thread>

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

namespace {

QByteArray DrawnFor(const TZRTestRec& rec, const std::optional<TVerdictBasis>&) {
    return "%PDF " + rec.GetDeviceInfo(diDeviceID).toUtf8();
}

} // namespace

// A test that enters the library on a thread of its own (the outbox's sender) is handed off on the
// program's main thread, whose settings and drawing it needs.
TEST_F(KeepTest, ATestAddedAwayFromTheMainThreadIsHandedOffOnIt) {
    InstallServiceReportDrawer(&DrawnFor);
    const QString folder = settings.Folder() + QStringLiteral("/cmms");
    ASSERT_TRUE(QDir().mkpath(folder));
    settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("EXPORT_FOLDER"), folder);
    QStringList problems;
    InstallHandOffProblemSink([&problems](const QString& why) { problems << why; });
    const QString location = ProgramLibraryLocation();
    auto run = [&location](const QString& device) {
        std::thread([&location, device] {
            QString why;
            const auto library = TTestLibrary::Open(location, why);
            auto rec = MakeFullRecord();
            rec->SetDeviceInfo(diDeviceID, device);
            EXPECT_EQ(AddAndHandOff(*library, RecordBytes(*rec)).outcome, TAddOutcome::Added);
        }).join();
    };
    run(QStringLiteral("DEF-1"));
    EXPECT_TRUE(QDir(folder).isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
    // A program that hands nothing off (the demo) writes nothing there.
    HandOffTests(false);
    run(QStringLiteral("DEF-3"));
    QCoreApplication::processEvents();
    HandOffTests(true);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);

    settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("EXPORT_FOLDER"), folder + QStringLiteral("/gone"));
    run(QStringLiteral("DEF-2"));
    QCoreApplication::processEvents();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains(QStringLiteral("DEF-2"))) << problems[0].toStdString();
    InstallHandOffProblemSink({});
    InstallServiceReportDrawer(nullptr);
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
