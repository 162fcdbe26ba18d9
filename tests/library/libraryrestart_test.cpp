// A shared library whose server is stopped in the middle of a run and started again: a test finished
// while it is down is back from keeping at once and waits in the outbox; once the server is up again
// the outbox goes into the library, each test once; the report viewer's command, through the worker, is told
// that a test is there already. Run by tests/library/with-postgres.sh.
#include "library/keeptest.h"
#include "library/libraryworker.h"
#include "library/outbox.h"
#include "library/programlibrary.h"
#include "records/recordimage.h"
#include "tests/support/libraryanswers.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"

#include <QElapsedTimer>
#include <QSet>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

bool Server(const char* what) {
    const QByteArray command = qgetenv("CORVEX_TEST_POSTGRES_CTL") + ' ' + what;
    return std::system(command.constData()) == 0;
}

class ServerRestart : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("CORVEX_TEST_POSTGRES") ||
            qEnvironmentVariableIsEmpty("CORVEX_TEST_POSTGRES_CTL"))
            GTEST_SKIP() << "run by tests/library/with-postgres.sh";
        settings.Ini().WriteString(QStringLiteral("Library"), QStringLiteral("DATABASE"), location);
    }
    void TearDown() override {
        if (stopped)
            Server("start"); // whatever happened, the next test finds it running
    }

    // A finished test of its own Device ID, kept as the end of a run keeps it; what was told.
    std::optional<TKeepResult> Finish(const char* deviceId, qint64* tookMs = nullptr) {
        auto rec = MakeFullRecord();
        rec->SetDeviceInfo(diDeviceID, QString::fromLatin1(deviceId));
        std::optional<TKeepResult> told;
        QElapsedTimer clock;
        clock.start();
        KeepFinishedTest(*rec, std::nullopt, &viewer, [&](const TKeepResult& kept) { told = kept; });
        if (tookMs)
            *tookMs = clock.elapsed();
        EXPECT_TRUE(LibraryAnswered());
        return told;
    }
    std::vector<TOutboxEntry> Waiting() {
        QString why;
        const std::unique_ptr<TOutbox> outbox = TOutbox::Open(ProgramOutboxLocation(), why);
        return outbox ? outbox->Waiting(location) : std::vector<TOutboxEntry>{};
    }

    TempSettings settings;
    QString location = qEnvironmentVariable("CORVEX_TEST_POSTGRES");
    QObject viewer;
    bool stopped = false;
};

} // namespace

TEST_F(ServerRestart, ATestFinishedWhileTheServerIsDownWaitsAndGoesInOnceItIsBack) {
    std::optional<TKeepResult> told = Finish("RST-1");
    ASSERT_TRUE(told);
    EXPECT_EQ(told->outcome, TKeepOutcome::Kept) << told->why.toStdString();
    EXPECT_TRUE(Waiting().empty());

    // The worker's connection is open; the server goes away under it.
    stopped = true;
    ASSERT_TRUE(Server("stop --mode fast"));
    qint64 took = 0;
    told = Finish("RST-2", &took);
    EXPECT_LT(took, 500);
    ASSERT_TRUE(told);
    EXPECT_EQ(told->outcome, TKeepOutcome::NotKept);
    EXPECT_TRUE(told->queued);
    EXPECT_FALSE(told->why.isEmpty());
    ASSERT_EQ(Waiting().size(), 1u);
    EXPECT_EQ(Waiting()[0].deviceId, QStringLiteral("RST-2"));
    told = Finish("RST-3", &took);
    EXPECT_LT(took, 500);
    ASSERT_TRUE(told);
    EXPECT_EQ(told->outcome, TKeepOutcome::NotKept);
    EXPECT_EQ(Waiting().size(), 2u);

    // Back: the next finished test takes those that waited with it; the periodic send finds nothing.
    ASSERT_TRUE(Server("start"));
    stopped = false;
    told = Finish("RST-4");
    ASSERT_TRUE(told);
    EXPECT_EQ(told->outcome, TKeepOutcome::Kept) << told->why.toStdString();
    EXPECT_TRUE(Waiting().empty());
    std::optional<TOutboxSend> sent;
    ProgramLibraryWorker().Post(
        location, &viewer,
        [outbox = ProgramOutboxLocation()](TLibraryAccess& access) { return SendOutboxOn(access, outbox); },
        [&](const TOutboxSend& result) { sent = result; });
    ASSERT_TRUE(LibraryAnswered());
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->sent, 0);
    EXPECT_EQ(sent->waiting, 0);

    // The report viewer's command goes through the worker too, and tells what the library did.
    auto again = MakeFullRecord();
    again->SetDeviceInfo(diDeviceID, QStringLiteral("RST-1"));
    std::optional<TKeepResult> commanded;
    KeepTestOnCommand(*again, std::nullopt, &viewer, [&](const TKeepResult& kept) { commanded = kept; });
    EXPECT_FALSE(commanded); // the worker has it
    ASSERT_TRUE(LibraryAnswered());
    ASSERT_TRUE(commanded);
    EXPECT_EQ(commanded->outcome, TKeepOutcome::Kept);
    EXPECT_TRUE(commanded->alreadyPresent);

    QString why;
    const std::unique_ptr<TTestLibrary> library = TTestLibrary::Open(location, why);
    ASSERT_TRUE(library) << why.toStdString();
    QStringList devices;
    QSet<QString> records;
    for (const TLibraryTest& test : library->List()) {
        devices << test.deviceInfo[diDeviceID];
        records.insert(test.sha256);
    }
    devices.sort();
    EXPECT_EQ(devices, QStringList({"RST-1", "RST-2", "RST-3", "RST-4"}));
    EXPECT_EQ(records.size(), 4);
}
