// *.zrq files: byte images of the record, exact size, and saves that never destroy a good copy.
#include "records/tzrtestrec.h"
#include "tests/support/filefaults.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

class RecordFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(RecordFile, SaveThenLoadGivesTheSameBytes) {
    auto rec = MakeFullRecord();
    ASSERT_EQ(rec->SaveTestFile(Path("a.zrq")), 0);
    const QByteArray onDisk = ReadBytes(Path("a.zrq"));
    EXPECT_EQ(onDisk.size(), TEST_RECORD_SIZE);
    EXPECT_EQ(onDisk, RecordBytes(*rec)); // no header, no conversion

    auto loaded = std::make_unique<TZRTestRec>();
    ASSERT_EQ(loaded->LoadTestFile(Path("a.zrq")), 0);
    EXPECT_EQ(RecordBytes(*loaded), RecordBytes(*rec));
}

TEST_F(RecordFile, EmptyRecordStillMakesAFullSizeFile) {
    auto rec = std::make_unique<TZRTestRec>();
    ASSERT_EQ(rec->SaveTestFile(Path("empty.zrq")), 0);
    EXPECT_EQ(ReadBytes(Path("empty.zrq")), QByteArray(TEST_RECORD_SIZE, '\0'));
}

TEST_F(RecordFile, SaveReplacesAnExistingLongerFile) {
    WriteBytes(Path("b.zrq"), QByteArray(100000, 'z'));
    auto rec = MakeFullRecord();
    ASSERT_EQ(rec->SaveTestFile(Path("b.zrq")), 0);
    EXPECT_EQ(ReadBytes(Path("b.zrq")), RecordBytes(*rec));
}

TEST_F(RecordFile, WrongSizesAreRejectedWithTheSizeAndLeaveTheRecordUnchanged) {
    for (int size : {0, 1, TEST_RECORD_SIZE - 1, TEST_RECORD_SIZE + 1, 2 * TEST_RECORD_SIZE}) {
        SCOPED_TRACE(size);
        WriteBytes(Path("w.zrq"), QByteArray(size, '\x5a'));
        auto rec = MakeFullRecord();
        const QByteArray before = RecordBytes(*rec);
        QString why;
        EXPECT_EQ(rec->LoadTestFile(Path("w.zrq"), why), -1);
        EXPECT_EQ(why, QStringLiteral("%1 is %2 %3; a test record is 72424 bytes.")
                           .arg(Path("w.zrq"))
                           .arg(size)
                           .arg(size == 1 ? "byte" : "bytes"));
        EXPECT_EQ(RecordBytes(*rec), before);
    }
}

TEST_F(RecordFile, AnyBytesOfTheRightSizeAreAccepted) {
    QByteArray bytes(TEST_RECORD_SIZE, '\0');
    uint32_t x = 2463534242u; // xorshift: fixed, repeatable "arbitrary" bytes
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    WriteBytes(Path("any.zrq"), bytes);
    auto rec = std::make_unique<TZRTestRec>();
    ASSERT_EQ(rec->LoadTestFile(Path("any.zrq")), 0);
    EXPECT_EQ(RecordBytes(*rec), bytes);
}

TEST_F(RecordFile, MissingFileRaisesCannotOpen) {
    auto rec = std::make_unique<TZRTestRec>();
    try {
        rec->LoadTestFile(Path("nothere.zrq"));
        FAIL() << "no error raised";
    } catch (const EFileError& e) {
        EXPECT_EQ(QString::fromStdString(e.what()),
                  QStringLiteral("Cannot open file %1: No such file or directory").arg(Path("nothere.zrq")));
    }
}

TEST_F(RecordFile, FolderIsNotARecord) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    auto rec = MakeFullRecord();
    const QByteArray before = RecordBytes(*rec);
    bool rejected = false;
    try {
        rejected = rec->LoadTestFile(Path("sub")) == -1;
    } catch (const EFileError&) {
        rejected = true;
    }
    EXPECT_TRUE(rejected);
    EXPECT_EQ(RecordBytes(*rec), before);
}

TEST_F(RecordFile, SaveIntoMissingFolderRaisesCannotCreate) {
    auto rec = MakeFullRecord();
    const QString path = Path("no/such/folder/x.zrq");
    try {
        rec->SaveTestFile(path);
        FAIL() << "no error raised";
    } catch (const EFileError& e) {
        EXPECT_EQ(QString::fromStdString(e.what()), QStringLiteral("Cannot create file ") + path);
    }
}

TEST_F(RecordFile, SaveThatRunsOutOfSpaceKeepsThePreviousFile) {
    auto good = MakeFullRecord();
    ASSERT_EQ(good->SaveTestFile(Path("keep.zrq")), 0);
    const QByteArray before = ReadBytes(Path("keep.zrq"));

    // A file-size limit makes every write past 30000 bytes fail, as a full disk does half-way.
    auto other = std::make_unique<TZRTestRec>();
    int result = 0;
    {
        FileSizeLimit limit(30000);
        result = other->SaveTestFile(Path("keep.zrq"));
    }
    EXPECT_EQ(result, -1);
    EXPECT_EQ(ReadBytes(Path("keep.zrq")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("keep.zrq")}); // no leftovers
}

TEST_F(RecordFile, SaveIntoReadOnlyFolderKeepsAReadOnlyFileAndWritesAWritableOneInPlace) {
    auto good = MakeFullRecord();
    ASSERT_EQ(good->SaveTestFile(Path("keep.zrq")), 0);
    const QByteArray before = ReadBytes(Path("keep.zrq"));
    const QString target = Path("keep.zrq");
    SetWritableByEveryone(target, false);
    int outcome = 0;
    {
        ReadOnlyFolder readOnly(dir.path());
        // 1: the file layer raised "Cannot create file", 2: it raised something else, 3: no error.
        outcome = RunWithoutPrivileges([&target] {
            auto other = std::make_unique<TZRTestRec>();
            try {
                other->SaveTestFile(target);
            } catch (const EFileError& e) {
                return QString::fromStdString(e.what()) == QStringLiteral("Cannot create file ") + target ? 1
                                                                                                          : 2;
            }
            return 3;
        });
    }
    EXPECT_EQ(outcome, 1);
    EXPECT_EQ(ReadBytes(target), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.zrq")});

    // The file may be written, the folder not: the save goes into the file itself.
    SetWritableByEveryone(target, true);
    auto other = std::make_unique<TZRTestRec>();
    other->SetDeviceInfo(diDeviceID, QStringLiteral("IN-PLACE"));
    {
        ReadOnlyFolder readOnly(dir.path());
        outcome = RunWithoutPrivileges([&] { return other->SaveTestFile(target) == 0 ? 1 : 2; });
    }
    EXPECT_EQ(outcome, 1);
    EXPECT_EQ(ReadBytes(target), RecordBytes(*other));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.zrq")});
}

TEST_F(RecordFile, TargetRemovedDuringSavesNeverHoldsAPartialRecord) {
    // Another program deletes the file again and again while it is being saved. A save may then fail,
    // but only the way a failed save is reported (-1 or the file layer's error); whenever a file stands
    // under the record's name it is a whole record, and once the other program stops, saving works.
    const QString target = Path("contested.zrq");
    const QByteArray targetName = QFile::encodeName(target);
    auto rec = MakeFullRecord();
    const QByteArray expected = RecordBytes(*rec);
    std::atomic<bool> stop{false};
    std::atomic<int> removed{0}, partial{0};
    std::thread remover([&] {
        while (!stop.load()) {
            QFile file(target);
            if (file.open(QIODevice::ReadOnly)) {
                if (file.readAll() != expected)
                    ++partial;
                file.close();
            }
            if (::unlink(targetName.constData()) == 0)
                ++removed;
        }
    });
    int saved = 0;
    for (int i = 0; i < 40; ++i) {
        try {
            saved += rec->SaveTestFile(target) == 0;
        } catch (const EFileError& e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).startsWith(QStringLiteral("Cannot create file")));
        }
    }
    stop = true;
    remover.join();
    EXPECT_GT(saved, 0);
    EXPECT_GT(removed.load(), 0);
    EXPECT_EQ(partial.load(), 0);
    ASSERT_EQ(rec->SaveTestFile(target), 0);
    EXPECT_EQ(ReadBytes(target), expected);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("contested.zrq")});
}
