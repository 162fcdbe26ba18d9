// The library worker: jobs run off the posting thread, one at a time and in order, their results come
// back to the posting thread; a context that has gone gets nothing; a worker that ends waits for the job
// that runs (at most a server's connect time-out) and drops the rest.
#include "library/libraryworker.h"

#include "tests/support/silentserver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace {

bool Until(const std::function<bool()>& done, int timeoutMs = 20000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    return true;
}

class Worker : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString location = folder.filePath(QStringLiteral("library.sqlite"));
};

} // namespace

TEST_F(Worker, RunsJobsInOrderOffThisThreadAndAnswersHere) {
    TLibraryWorker worker;
    QObject context;
    QMutex mutex;
    std::vector<int> ran;
    std::vector<int> answered;
    for (int i = 0; i < 20; ++i)
        worker.Post(
            location, &context,
            [&, i](TLibraryAccess& access) {
                QString why;
                const bool opened = access.Library(why) != nullptr; // the same connection for each job
                QMutexLocker lock(&mutex);
                ran.push_back(i);
                return std::make_pair(opened, QThread::currentThread());
            },
            [&, i](std::pair<bool, QThread*> result) {
                EXPECT_TRUE(result.first);
                EXPECT_NE(result.second, QThread::currentThread());
                EXPECT_EQ(QThread::currentThread(), context.thread());
                answered.push_back(i);
            });
    EXPECT_EQ(worker.Pending(), 20);
    ASSERT_TRUE(Until([&] { return worker.Pending() == 0; }));
    std::vector<int> inOrder(20);
    std::iota(inOrder.begin(), inOrder.end(), 0);
    EXPECT_EQ(ran, inOrder);
    EXPECT_EQ(answered, inOrder);
}

TEST_F(Worker, AContextThatWentAndACancelledJobGetNothing) {
    TLibraryWorker worker;
    bool answeredGone = false;
    bool ranCancelled = false;
    bool answeredLast = false;
    auto gone = std::make_unique<QObject>();
    QObject stays;
    std::atomic<bool> gate{false}; // holds the first job until the others are posted and dropped
    worker.Post(
        location, gone.get(),
        [&](TLibraryAccess&) {
            while (!gate.load())
                QThread::msleep(1);
            return 1;
        },
        [&](int) { answeredGone = true; });
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    worker.Post(
        location, &stays,
        [&](TLibraryAccess&) {
            ranCancelled = true;
            return 2;
        },
        [&](int) { ranCancelled = true; }, cancel);
    cancel->store(true);
    gone.reset();
    worker.Post(
        location, &stays, [](TLibraryAccess&) { return 3; }, [&](int) { answeredLast = true; });
    gate.store(true);
    ASSERT_TRUE(Until([&] { return worker.Pending() == 0; }));
    EXPECT_FALSE(answeredGone);
    EXPECT_FALSE(ranCancelled);
    EXPECT_TRUE(answeredLast);
}

// A server that does not answer: the jobs posted while it was tried take its answer without a wait of
// their own; a worker that ends meanwhile waits for that one attempt, and never runs the rest.
TEST_F(Worker, AServerThatDoesNotAnswerCostsOneConnectTimeOutAlsoAtTheEnd) {
    SilentServer server;
    ASSERT_TRUE(server.Listening());
    QObject context;
    {
        TLibraryWorker worker;
        std::vector<QString> reasons;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 3; ++i)
            worker.Post(
                server.Address(), &context,
                [](TLibraryAccess& access) {
                    QString why;
                    return access.Library(why) ? QString() : why;
                },
                [&](const QString& why) { reasons.push_back(why); });
        EXPECT_LT(clock.elapsed(), 100);
        ASSERT_TRUE(Until([&] { return worker.Pending() == 0; }));
        EXPECT_LT(clock.elapsed(), 3500); // one connect_timeout of 2 s, not three
        ASSERT_EQ(reasons.size(), 3u);
        for (const QString& why : reasons)
            EXPECT_TRUE(why.contains(QStringLiteral("cannot be used"))) << why.toStdString();
    }
    bool ranAfter = false;
    bool answered = false;
    QElapsedTimer clock;
    {
        TLibraryWorker worker;
        worker.Post(
            server.Address(), &context,
            [](TLibraryAccess& access) {
                QString why;
                return access.Library(why) != nullptr;
            },
            [&](bool) { answered = true; });
        for (int i = 0; i < 5; ++i)
            worker.Post(
                server.Address(), &context,
                [&](TLibraryAccess&) {
                    ranAfter = true;
                    return 0;
                },
                [&](int) { answered = true; });
        QThread::msleep(100); // the first is connecting now
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_FALSE(ranAfter);
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered);
}

// What a library keeps for the worker's thread (OpenSSL does, through the PostgreSQL client) is freed when
// that thread ends; a worker that has ended has let it: a program that exits right after cleans up
// nothing twice and leaves nothing behind.
TEST_F(Worker, AWorkerThatEndedHasLetWhatItsThreadKeptGo) {
    struct TKeptForTheThread {
        std::atomic<bool>* freed = nullptr;
        ~TKeptForTheThread() {
            QThread::msleep(50); // a library that takes its time to clean up
            if (freed)
                freed->store(true);
        }
    };
    std::atomic<bool> freed{false};
    {
        TLibraryWorker worker;
        QObject context;
        bool ran = false;
        worker.Post(
            location, &context,
            [&](TLibraryAccess&) {
                static thread_local TKeptForTheThread kept;
                kept.freed = &freed;
                return 0;
            },
            [&](int) { ran = true; });
        ASSERT_TRUE(Until([&] { return ran; }));
    }
    EXPECT_TRUE(freed.load());
}
