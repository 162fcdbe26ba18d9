// The start of a test: every way it can fail, with its message and the link afterwards.
#include "testrun/starthandshake.h"
#include "tests/testrun/simrun.h"

namespace {

class StartHandshake : public SimRun {
protected:
    void ExpectFailure(const QString& text, const QString& caption) {
        EXPECT_EQ(StartAndTell(*rec, link), -1);
        ASSERT_FALSE(boxes.Shown().isEmpty());
        EXPECT_EQ(boxes.Shown().last().text, text);
        EXPECT_EQ(boxes.Shown().last().caption, caption);
        EXPECT_EQ(boxes.Shown().last().icon, MsgIcon::Error);
        EXPECT_FALSE(link.IsOpen());
        EXPECT_FALSE(sim.IsOpen());
    }
};

} // namespace

TEST_F(StartHandshake, ReadsTheStatusAndLeavesTheLinkOpen) {
    sim.SetAnalyzerID("CVX-0042");
    sim.SetStatusDate(DateStamp{5, 7, 14, 3, 9, 26});
    const int64_t start = clock.Microseconds();
    EXPECT_EQ(StartAndTell(*rec, link), 0);
    EXPECT_TRUE(boxes.Shown().isEmpty());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_TRUE(sim.IsOpen());
    EXPECT_EQ(rec->AnalyzerID(), QStringLiteral("CVX-0042"));
    EXPECT_EQ(rec->TestDateTime().Year, 26);
    EXPECT_EQ(sim.Commands(), (QList<QByteArray>{"GS", "VN", "RL"}));
    EXPECT_GE(clock.Microseconds() - start, 1'000'000); // the pause before "RL"
}

TEST_F(StartHandshake, AnalyzerNotFound) {
    sim.Unplug();
    ExpectFailure(QStringLiteral("Corvex not connected to PC USB"), QStringLiteral("COMMUNICATION ERROR"));
    EXPECT_EQ(Captions(), (QStringList{QStringLiteral("Error"), QStringLiteral("COMMUNICATION ERROR")}));
    EXPECT_TRUE(sim.Commands().isEmpty());
}

TEST_F(StartHandshake, NoStatusBlock) {
    sim.InjectFault(SimFault::NoReply("GS"));
    ExpectFailure(
        QStringLiteral("Unable to read Corvex information.\nMake sure Corvex is set to REMOTE mode."),
        QStringLiteral("COMMUNICATION ERROR"));
}

TEST_F(StartHandshake, AccessoryConnectWithoutReply) {
    sim.InjectFault(SimFault::NoReply("VN"));
    ExpectFailure(QStringLiteral("Did not receive response from Corvex"),
                  QStringLiteral("COMMUNICATION TIMEOUT"));
}

TEST_F(StartHandshake, AccessoryConnectWithWrongReply) {
    sim.InjectFault(SimFault::Reply("VN", "**"));
    ExpectFailure(QStringLiteral("Invalid response from Corvex"), QStringLiteral("COMMUNICATION ERROR"));
}

TEST_F(StartHandshake, LoadQueryWithoutReply) {
    sim.InjectFault(SimFault::NoReply("RL"));
    ExpectFailure(QStringLiteral("Did not receive response from Corvex"),
                  QStringLiteral("COMMUNICATION TIMEOUT"));
}

TEST_F(StartHandshake, AccessoryNotConnected) {
    sim.Accessory().cableConnected = false;
    ExpectFailure(QStringLiteral("ZRQ not connected to Corvex"), QStringLiteral("ZRQ ERROR"));
}

TEST_F(StartHandshake, XXFollowedByAnotherByteLetsTheTestGoOn) {
    sim.InjectFault(SimFault::Reply("RL", QByteArray("XX\x01\x00", 4)));
    EXPECT_EQ(StartAndTell(*rec, link), 0);
}

TEST_F(StartHandshake, RetryStartsWithAFreshOpen) {
    sim.InjectFault(SimFault::NoReply("VN"));
    EXPECT_EQ(StartAndTell(*rec, link), -1);
    EXPECT_EQ(StartAndTell(*rec, link), 0);
    EXPECT_EQ(sim.Commands(), (QList<QByteArray>{"GS", "VN", "GS", "VN", "RL"}));
}
