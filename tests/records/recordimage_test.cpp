// A record's bytes and back: the *.zrq files of simulated test runs, and bytes that are no record.
#include "records/recordimage.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordbuilder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QDir RecordFiles() {
    return QDir(QStringLiteral(CORVEX_RECORD_FILES_DIR));
}

} // namespace

TEST(RecordImage, RecordFilesDecodeAndEncodeToTheSameBytes) {
    int records = 0;
    for (const QString& name : RecordFiles().entryList({QStringLiteral("*.zrq")}, QDir::Files)) {
        const QByteArray bytes = ReadBytes(RecordFiles().filePath(name));
        if (bytes.size() != TEST_RECORD_SIZE)
            continue; // refused: see below
        SCOPED_TRACE(name.toStdString());
        auto rec = std::make_unique<TZRTestRec>();
        QString why;
        ASSERT_TRUE(DecodeTestRecord(bytes, *rec, why)) << why.toStdString();
        EXPECT_EQ(RecordBytes(*rec), bytes);
        EXPECT_EQ(EncodeTestRecord(*rec), bytes);
        ++records;
    }
    EXPECT_EQ(records, 4);
}

TEST(RecordImage, BytesOfAnotherSizeAreRefusedWithWhyAndTheRecordKept) {
    const QByteArray shortFile = ReadBytes(RecordFiles().filePath(QStringLiteral("short.zrq")));
    for (const QByteArray& bytes : {shortFile, QByteArray(TEST_RECORD_SIZE + 1, '\x5a'), QByteArray()}) {
        SCOPED_TRACE(bytes.size());
        auto rec = MakeFullRecord();
        const QByteArray before = RecordBytes(*rec);
        QString why;
        EXPECT_FALSE(DecodeTestRecord(bytes, *rec, why));
        EXPECT_EQ(why, QStringLiteral("A test record has 72424 bytes, not %1.").arg(bytes.size()));
        EXPECT_EQ(RecordBytes(*rec), before);
    }
}
