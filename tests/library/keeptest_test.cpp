// Keeping a test in the program's library as the windows do: a record of no load data is never kept,
// and the library says so without a box of its own (the windows tell it).
#include "library/handoff.h"
#include "library/keeptest.h"
#include "library/programlibrary.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/scriptedmessages.h"
#include "tests/support/tempsettings.h"

#include <QCoreApplication>
#include <QDir>
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
