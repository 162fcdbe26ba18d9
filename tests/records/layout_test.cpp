// The in-memory record: clearing, copying, device texts and the status block fields.
#include "records/tzrtestrec.h"
#include "tests/support/recordbuilder.h"

#include <gtest/gtest.h>

TEST(RecordModel, FreshRecordIsAllZero) {
    auto rec = std::make_unique<TZRTestRec>();
    EXPECT_EQ(RecordBytes(*rec), QByteArray(TEST_RECORD_SIZE, '\0'));
    for (const TZRTest& load : rec->Loads)
        EXPECT_EQ(load.HasData, 0);
}

TEST(RecordModel, ClearTestZeroesAFullRecord) {
    auto rec = MakeFullRecord();
    rec->ClearTest();
    EXPECT_EQ(RecordBytes(*rec), QByteArray(TEST_RECORD_SIZE, '\0'));
}

TEST(RecordModel, ARecordHoldsATestOnceAnyLoadHasData) {
    auto rec = std::make_unique<TZRTestRec>();
    EXPECT_FALSE(rec->HasLoadData());
    rec->Loads[6].HasData = 2; // any value but 0 counts
    EXPECT_TRUE(rec->HasLoadData());
}

TEST(RecordModel, CopyTestCopiesEveryByteOfAWellFormedRecord) {
    auto full = MakeFullRecord();
    auto copy = std::make_unique<TZRTestRec>();
    copy->CopyTest(*full);
    EXPECT_EQ(RecordBytes(*copy), RecordBytes(*full));
}

TEST(RecordModel, CopyTestZeroesDeviceSlotBytesAfterTheFirstNul) {
    auto source = std::make_unique<TZRTestRec>();
    std::memcpy(source->DeviceInfo[diModel], "AB\0garbage", 10);
    auto copy = MakeFullRecord();
    copy->CopyTest(*source);
    EXPECT_EQ(QByteArray(copy->DeviceInfo[diModel], 32), QByteArray("AB") + QByteArray(30, '\0'));
}

TEST(RecordModel, SetDeviceInfoCutsAt31CharactersAndKeepsTheTerminator) {
    auto rec = std::make_unique<TZRTestRec>();
    const QString forty = QStringLiteral("0123456789012345678901234567890123456789");
    rec->SetDeviceInfo(diSerialNo, forty);
    EXPECT_EQ(rec->GetDeviceInfo(diSerialNo), forty.left(31));
    EXPECT_EQ(rec->DeviceInfo[diSerialNo][31], '\0');
    // Neighbouring slots are untouched.
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QString());
    EXPECT_EQ(rec->GetDeviceInfo(diManufacturer), QString());
}

TEST(RecordModel, EmptyDeviceTextLeavesSlotZero) {
    auto rec = MakeFullRecord();
    rec->SetDeviceInfo(diTechID, QString());
    EXPECT_EQ(QByteArray(rec->DeviceInfo[diTechID], 32), QByteArray(32, '\0'));
    EXPECT_TRUE(rec->GetDeviceInfo(diTechID).isEmpty());
}

TEST(RecordModel, DeviceTextsAreLatin1) {
    auto rec = std::make_unique<TZRTestRec>();
    rec->SetDeviceInfo(diLocation, QStringLiteral("Salle d'op\u00e9ration"));
    EXPECT_EQ(static_cast<uint8_t>(rec->DeviceInfo[diLocation][10]), 0xE9);
    EXPECT_EQ(rec->GetDeviceInfo(diLocation), QStringLiteral("Salle d'op\u00e9ration"));
}

TEST(RecordModel, GetDeviceInfoNeverReadsPastItsSlot) {
    auto rec = std::make_unique<TZRTestRec>();
    std::memset(rec->DeviceInfo, 'x', sizeof rec->DeviceInfo); // no NUL anywhere, as a foreign file may hold
    EXPECT_EQ(rec->GetDeviceInfo(diDeviceID), QString(32, QLatin1Char('x')));
    EXPECT_EQ(rec->GetDeviceInfo(diTechID), QString(32, QLatin1Char('x')));
}

TEST(RecordModel, AnalyzerIdEndsAtNulOrAfterSixteenCharacters) {
    auto rec = std::make_unique<TZRTestRec>();
    SetStatus(*rec, "ZR-1", DateStamp{1, 2, 3, 4, 5, 6});
    EXPECT_EQ(rec->AnalyzerID(), QStringLiteral("ZR-1"));

    std::memcpy(rec->AnalyzerStatus + ANALYZER_ID_OFFSET, "ABCDEFGHIJKLMNOP", 16);
    EXPECT_EQ(rec->AnalyzerID(), QStringLiteral("ABCDEFGHIJKLMNOP")); // not running on into the date bytes
}

TEST(RecordModel, TestDateTimeComesFromStatusBytes28To33) {
    auto rec = std::make_unique<TZRTestRec>();
    SetStatus(*rec, "X", DateStamp{5, 7, 14, 3, 9, 13});
    const DateStamp s = rec->TestDateTime();
    EXPECT_EQ(s.Second, 5);
    EXPECT_EQ(s.Minute, 7);
    EXPECT_EQ(s.Hour, 14);
    EXPECT_EQ(s.Day, 3);
    EXPECT_EQ(s.Month, 9);
    EXPECT_EQ(s.Year, 13);
    EXPECT_EQ(rec->AnalyzerStatus[28], 5);
    EXPECT_EQ(rec->AnalyzerStatus[33], 13);
}

TEST(RecordModel, LoadNames) {
    EXPECT_EQ(LoadName(0), QStringLiteral("25 ohms"));
    EXPECT_EQ(LoadName(3), QStringLiteral("100 ohms"));
    EXPECT_EQ(LoadName(6), QStringLiteral("175 ohms"));
}

TEST(RecordModel, FieldsSitAtTheirFileOffsets) {
    auto rec = std::make_unique<TZRTestRec>();
    rec->Loads[2].Results.AnalyzerLoad = 0x1234;
    rec->Loads[2].AccessoryResistance = 0xBEEF;
    rec->Loads[2].HasData = 1;
    rec->Loads[2].Samples[5119] = -2;
    const QByteArray b = RecordBytes(*rec);
    const int base = 261 + 2 * 10309;
    EXPECT_EQ(static_cast<uint8_t>(b[base + 63]), 0x34);
    EXPECT_EQ(static_cast<uint8_t>(b[base + 64]), 0x12);
    EXPECT_EQ(static_cast<uint8_t>(b[base + 10306]), 1);
    EXPECT_EQ(static_cast<uint8_t>(b[base + 10307]), 0xEF);
    EXPECT_EQ(static_cast<uint8_t>(b[base + 10308]), 0xBE);
    EXPECT_EQ(static_cast<uint8_t>(b[base + 66 + 2 * 5119]), 0xFE);
    EXPECT_EQ(static_cast<uint8_t>(b[base + 66 + 2 * 5119 + 1]), 0xFF);
}
