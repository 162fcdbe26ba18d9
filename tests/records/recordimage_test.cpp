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

// The image is little-endian field by field, whatever the host: a value's low byte comes first, at the
// field's place in the file.
TEST(RecordImage, SixteenBitValuesStandLowByteFirstAtTheirPlace) {
    auto rec = std::make_unique<TZRTestRec>();
    rec->Loads[6].Results.PeakVoltage1 = 0x1234;
    rec->Loads[6].Results.AnalyzerLoad = 0xa1b2;
    rec->Loads[6].Samples[SAMPLE_COUNT - 1] = -2; // 0xfffe
    rec->Loads[6].AccessoryResistance = 0x0102;
    const QByteArray bytes = EncodeTestRecord(*rec);
    const qsizetype load = LoadByteOffset(6);
    EXPECT_EQ(bytes.mid(load + 22, 2), QByteArray("\x34\x12", 2));
    EXPECT_EQ(bytes.mid(load + 63, 2), QByteArray("\xb2\xa1", 2));
    EXPECT_EQ(bytes.mid(load + 66 + 2 * (SAMPLE_COUNT - 1), 2), QByteArray("\xfe\xff", 2));
    EXPECT_EQ(bytes.right(2), QByteArray("\x02\x01", 2));
    EXPECT_EQ(bytes.count('\0'), TEST_RECORD_SIZE - 8);

    auto back = std::make_unique<TZRTestRec>();
    QString why;
    ASSERT_TRUE(DecodeTestRecord(bytes, *back, why));
    // Copied out first: the packed record's fields may stand at odd addresses, where no reference may bind.
    const int analyzerLoad = back->Loads[6].Results.AnalyzerLoad;
    const int lastSample = back->Loads[6].Samples[SAMPLE_COUNT - 1];
    EXPECT_EQ(analyzerLoad, 0xa1b2);
    EXPECT_EQ(lastSample, -2);
}
