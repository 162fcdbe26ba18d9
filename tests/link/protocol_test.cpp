// The pure checks on the analyzer's replies.
#include "link/protocol.h"

#include "tests/support/qtprinters.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

ReplyBuffer Reply(const QByteArray& bytes) {
    ReplyBuffer buffer;
    ClearReply(buffer);
    std::memcpy(buffer.data(), bytes.constData(), static_cast<size_t>(bytes.size()));
    return buffer;
}

TEST(ProtocolTest, CommandsAndReplySizes) {
    EXPECT_EQ(StepCommand(0), "ECGDJ20");
    for (int load = 1; load < 7; ++load)
        EXPECT_EQ(StepCommand(load), "ECGDJ10");
    EXPECT_EQ(WaveformReplySize, 10306u);
    EXPECT_EQ(CmdAbort, "\x1b");
}

TEST(ProtocolTest, AcknowledgementIsStarAndCarriageReturnExactly) {
    EXPECT_TRUE(IsAcknowledgement(Reply("*\r")));
    EXPECT_FALSE(IsAcknowledgement(Reply("*\n")));
    EXPECT_FALSE(IsAcknowledgement(Reply("**")));
    EXPECT_FALSE(IsAcknowledgement(Reply("*")));
    EXPECT_FALSE(IsAcknowledgement(Reply("")));
    EXPECT_TRUE(IsAbortAcknowledgement(Reply("*")));
    EXPECT_FALSE(IsAbortAcknowledgement(Reply("+")));
}

TEST(ProtocolTest, NotConnectedReplies) {
    EXPECT_TRUE(IsAccessoryNotConnectedText(Reply(QByteArray("XX\0\0", 4))));
    EXPECT_FALSE(IsAccessoryNotConnectedText(Reply(QByteArray("XX\x01\0", 4))));
    EXPECT_TRUE(IsAccessoryNotConnected('X', 'X'));
    EXPECT_FALSE(IsAccessoryNotConnected('X', '1'));
}

TEST(ProtocolTest, AccessoryResistanceIsLittleEndian) {
    EXPECT_EQ(AccessoryResistanceOf(Reply(QByteArray("B3\xE8\x03", 4))), 1000);
    EXPECT_EQ(AccessoryResistanceOf(Reply(QByteArray("A1\xFF\xFF", 4))), 65535);
}

TEST(ProtocolTest, EachLoadHasItsBankAndJumper) {
    const char* expected[] = {"A1", "A2", "B3", "B4", "B5", "B6", "B7"};
    for (int load = 0; load < 7; ++load) {
        for (int other = 0; other < 7; ++other)
            EXPECT_EQ(IsLoadConfigured(load, expected[other][0], expected[other][1]), load == other);
        EXPECT_FALSE(IsLoadConfigured(load, 'X', 'X'));
    }
    EXPECT_FALSE(IsLoadConfigured(0, 'B', '1'));
    EXPECT_FALSE(IsLoadConfigured(2, 'A', '3'));
    EXPECT_FALSE(IsLoadConfigured(7, 'A', '1'));
}

TEST(ProtocolTest, DescribeLoadConfigNamesResistanceBankAndCode) {
    EXPECT_EQ(DescribeLoadConfig('B', '3'), "Resistance: 75 Ohms\nBank: Bank B \nError code: B3");
    EXPECT_EQ(DescribeLoadConfig('X', 'X'),
              "Resistance: Unknown Error\nBank: Unknown Error \nError code: XX");
    EXPECT_EQ(DescribeLoadConfig('-', '-'),
              "Resistance: No Resistance Selected\nBank: No Bank Selected \nError code: --");
    EXPECT_EQ(
        DescribeLoadConfig('E', 'E'),
        "Resistance: More Than One Resistance Selected\nBank: Both Bank A And B Selected \nError code: EE");
    EXPECT_EQ(DescribeLoadConfig('A', '7'), "Resistance: 175 Ohms\nBank: Bank A \nError code: A7");
}

TEST(ProtocolTest, TheBoxOfALoadSaysWhatItNeedsOrWhichCablesToCheck) {
    EXPECT_EQ(DescribeLoadConfigForLoad(3, 'B', '3'),
              "Resistance: 75 Ohms\nBank: Bank B \nError code: B3\nExpected: 100 Ohms, Bank B");
    // 50 ohms is the last load of Bank A.
    EXPECT_TRUE(DescribeLoadConfigForLoad(1, '-', '2').endsWith("\nExpected: 50 Ohms, Bank A"));
    EXPECT_TRUE(DescribeLoadConfigForLoad(2, 'A', '2').endsWith("\nExpected: 75 Ohms, Bank B"));
    EXPECT_EQ(
        DescribeLoadConfigForLoad(0, 'X', 'X'),
        "Resistance: Unknown Error\nBank: Unknown Error \nError code: XX\nThe load accessory (ZRQ) does "
        "not answer: check the RS232 serial cable and the ZRU adapter cable between the Corvex analyzer "
        "and the ZRQ.");
}

TEST(ProtocolTest, EnergyReadingNeedsThreeToFiveCharactersBetweenEqualsAndJ) {
    EXPECT_FALSE(HasEnergyReading("E=12J"));
    EXPECT_TRUE(HasEnergyReading("E=123J"));
    EXPECT_TRUE(HasEnergyReading("E=12.3J"));
    EXPECT_TRUE(HasEnergyReading("E=123.4J"));
    EXPECT_FALSE(HasEnergyReading("E=1234.5J"));
    EXPECT_FALSE(HasEnergyReading("READY\r\n"));
    EXPECT_FALSE(HasEnergyReading("E=200"));
}

TEST(ProtocolTest, OnlyTheFirstEqualsAndTheFirstJCount) {
    // A "J" before any "=" can never be matched again.
    EXPECT_FALSE(HasEnergyReading("J E=200.0J"));
    // A first "=" too far from the first "J" spoils later readings as well.
    EXPECT_FALSE(HasEnergyReading("=1234567J =200.0J"));
    EXPECT_TRUE(HasEnergyReading("MEASURING\r\nE=200.0J\r\n =J"));
}

TEST(ProtocolTest, TestTextAnywhere) {
    EXPECT_TRUE(HasTestText("READY\r\nTEST\r\n"));
    EXPECT_FALSE(HasTestText("TES"));
}

} // namespace
