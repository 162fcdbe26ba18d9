// The test library on SQLite, in temporary folders: whole tests in and out, one copy per record,
// the listing, refusals that leave a library untouched, and two writers on one file.
#include "library/testlibrary.h"
#include "records/recordimage.h"
#include "tests/support/recordbuilder.h"
#include "verdict/verdict.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <latch>
#include <thread>

namespace {

// A full record of `device` tested on 2026-12-day at hour:05:07.
QByteArray Record(const QString& device, int day, int hour = 14) {
    auto rec = MakeFullRecord();
    SetStatus(*rec, "ZR-1234", DateStamp{7, 5, static_cast<uint8_t>(hour), static_cast<uint8_t>(day), 12, 26});
    rec->SetDeviceInfo(diDeviceID, device);
    rec->Loads[6].HasData = 0;
    return EncodeTestRecord(*rec);
}

// Runs statements on the library file through a connection of the test's own.
void RawExec(const QString& path, const QStringList& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

class TestLibraryTest : public ::testing::Test {
protected:
    std::unique_ptr<TTestLibrary> OpenLibrary() {
        QString why;
        auto library = TTestLibrary::Open(path, why);
        EXPECT_TRUE(library) << why.toStdString();
        return library;
    }
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("library.sqlite"));
};

TEST_F(TestLibraryTest, KeepsATestWholeAndStoresARecordOnce) {
    const QByteArray bytes = Record(QStringLiteral("DEF-0042"), 8);
    const TVerdictChoice choice{QStringLiteral("Maker X200"), 150.0};
    qint64 id = 0;
    {
        auto library = OpenLibrary();
        const TAddResult added = library->Add(bytes, choice);
        ASSERT_EQ(added.outcome, TAddOutcome::Added) << added.why.toStdString();
        id = added.id;
        const TAddResult again = library->Add(bytes);
        EXPECT_EQ(again.outcome, TAddOutcome::AlreadyPresent);
        EXPECT_EQ(again.id, id);
    }
    auto library = OpenLibrary(); // a new connection sees what the first one stored
    EXPECT_EQ(library->RecordBytes(id), bytes);
    EXPECT_FALSE(library->RecordBytes(id + 1));
    const QString sha = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(library->FindBySha256(sha.toUpper()), id);

    const std::vector<TLibraryTest> tests = library->List();
    ASSERT_EQ(tests.size(), 1u);
    const TLibraryTest& test = tests[0];
    EXPECT_EQ(test.sha256, sha);
    EXPECT_EQ(test.deviceInfo[diDeviceID], QStringLiteral("DEF-0042"));
    auto rec = RecordFromBytes(bytes);
    for (int slot = 1; slot < DEVICE_INFO_SLOTS; ++slot)
        EXPECT_EQ(test.deviceInfo[slot], rec->GetDeviceInfo(static_cast<TDeviceInfoSlot>(slot)));
    EXPECT_EQ(test.testedAt, QStringLiteral("2026-12-08T14:05:07"));
    EXPECT_EQ(test.analyzerId, QStringLiteral("ZR-1234"));
    for (int load = 0; load < 6; ++load)
        EXPECT_EQ(test.delivered[load], DeliveredEnergy(rec->Loads[load], load)) << load;
    EXPECT_FALSE(test.delivered[6]);
    EXPECT_EQ(test.choice, choice);
}

TEST_F(TestLibraryTest, ListsNewestFirstAndByDevice) {
    auto library = OpenLibrary();
    const qint64 older = library->Add(Record(QStringLiteral("DEF-1"), 3)).id;
    const qint64 other = library->Add(Record(QStringLiteral("DEF-2"), 5)).id;
    const qint64 newer = library->Add(Record(QStringLiteral("DEF-1"), 3, 16)).id;
    const qint64 newest = library->Add(Record(QStringLiteral("DEF-1"), 20)).id;

    auto ids = [](const std::vector<TLibraryTest>& tests) {
        std::vector<qint64> out;
        for (const TLibraryTest& t : tests)
            out.push_back(t.id);
        return out;
    };
    EXPECT_EQ(ids(library->List()), (std::vector<qint64>{newest, other, newer, older}));
    EXPECT_EQ(ids(library->List(QStringLiteral("DEF-1"))), (std::vector<qint64>{newest, newer, older}));
    EXPECT_TRUE(library->List(QStringLiteral("DEF-9")).empty());
    EXPECT_FALSE(library->List()[0].choice); // none was made
}

TEST_F(TestLibraryTest, RefusesANewerOrForeignLibraryAndLeavesItUntouched) {
    OpenLibrary()->Add(Record(QStringLiteral("DEF-1"), 3));
    RawExec(path, {QStringLiteral("UPDATE library_info SET schema_version = 2")});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QString why;
    EXPECT_FALSE(TTestLibrary::Open(path, why));
    EXPECT_TRUE(why.contains(QStringLiteral("newer version"))) << why.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();

    const QString garbage = dir.filePath(QStringLiteral("garbage.sqlite"));
    WriteBytes(garbage, QByteArray(4096, 'x'));
    EXPECT_FALSE(TTestLibrary::Open(garbage, why));
    EXPECT_TRUE(why.contains(QStringLiteral("not a test library"))) << why.toStdString();
    EXPECT_EQ(ReadBytes(garbage), QByteArray(4096, 'x'));

    const QString foreign = dir.filePath(QStringLiteral("foreign.sqlite"));
    RawExec(foreign, {QStringLiteral("CREATE TABLE notes (text VARCHAR(10))")});
    EXPECT_FALSE(TTestLibrary::Open(foreign, why));
    EXPECT_TRUE(why.contains(QStringLiteral("not a test library"))) << why.toStdString();
}

TEST_F(TestLibraryTest, AFailedAddLeavesTheLibraryAsItWas) {
    auto library = OpenLibrary();
    const qint64 kept = library->Add(Record(QStringLiteral("DEF-1"), 3)).id;

    const TAddResult shortRecord = library->Add(Record(QStringLiteral("DEF-1"), 4).left(1000));
    EXPECT_EQ(shortRecord.outcome, TAddOutcome::Refused);
    EXPECT_FALSE(shortRecord.why.isEmpty());

    // The write fails after the test's row went in, at its loads.
    RawExec(path, {QStringLiteral("CREATE TRIGGER full BEFORE INSERT ON test_loads "
                                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END")});
    const TAddResult failed = library->Add(Record(QStringLiteral("DEF-2"), 5));
    EXPECT_EQ(failed.outcome, TAddOutcome::Failed);
    EXPECT_TRUE(failed.why.contains(QStringLiteral("disk full"))) << failed.why.toStdString();

    const std::vector<TLibraryTest> tests = library->List();
    ASSERT_EQ(tests.size(), 1u);
    EXPECT_EQ(tests[0].id, kept);
    EXPECT_EQ(library->Add(Record(QStringLiteral("DEF-1"), 3)).outcome, TAddOutcome::AlreadyPresent);
}

// Two programs importing the same records at once: each record ends up stored once, and neither
// writer fails with "database is locked".
TEST_F(TestLibraryTest, TwoWritersOnOneFileQueueInsteadOfFailing) {
    OpenLibrary();
    std::vector<QByteArray> records;
    for (int day = 1; day <= 12; ++day)
        records.push_back(Record(QStringLiteral("DEF-%1").arg(day % 3), day));
    std::latch start(2);
    std::array<std::vector<TAddResult>, 2> results;
    auto import = [&](int writer) {
        QString why;
        auto library = TTestLibrary::Open(path, why);
        start.arrive_and_wait();
        if (!library)
            return;
        for (const QByteArray& bytes : records)
            results[writer].push_back(library->Add(bytes));
    };
    std::thread first(import, 0), second(import, 1);
    first.join();
    second.join();

    int added = 0;
    for (const auto& writer : results) {
        ASSERT_EQ(writer.size(), records.size());
        for (const TAddResult& r : writer) {
            EXPECT_NE(r.outcome, TAddOutcome::Failed) << r.why.toStdString();
            added += r.outcome == TAddOutcome::Added;
        }
    }
    EXPECT_EQ(added, 12);
    EXPECT_EQ(OpenLibrary()->List().size(), 12u);
}

} // namespace
