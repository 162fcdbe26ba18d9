// *.zrq files: byte images of the record, exact size, and saves that never destroy a good copy.
#include "records/tzrtestrec.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class RecordFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

// Lowers the largest file this process may write, for the scope's life; writes beyond it fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
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

TEST_F(RecordFile, WrongSizesAreRejectedAndLeaveTheRecordUnchanged) {
    for (int size : {0, 1, TEST_RECORD_SIZE - 1, TEST_RECORD_SIZE + 1, 2 * TEST_RECORD_SIZE}) {
        SCOPED_TRACE(size);
        WriteBytes(Path("w.zrq"), QByteArray(size, '\x5a'));
        auto rec = MakeFullRecord();
        const QByteArray before = RecordBytes(*rec);
        EXPECT_EQ(rec->LoadTestFile(Path("w.zrq")), -1);
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
                  QStringLiteral("Cannot open file ") + Path("nothere.zrq"));
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

TEST_F(RecordFile, SaveIntoReadOnlyFolderKeepsThePreviousFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    auto good = MakeFullRecord();
    ASSERT_EQ(good->SaveTestFile(Path("keep.zrq")), 0);
    const QByteArray before = ReadBytes(Path("keep.zrq"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    auto other = std::make_unique<TZRTestRec>();
    EXPECT_THROW(other->SaveTestFile(Path("keep.zrq")), EFileError);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadBytes(Path("keep.zrq")), before);
}
