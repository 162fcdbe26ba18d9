// The line from the simulated analyzer to the receive queue: wire speed, purges and stalls.
#include "sim/simline.h"

#include <gtest/gtest.h>

namespace {

TEST(SimLineTest, BytesArriveAtTheWireSpeed) {
    SimLine line;
    line.SetSpeed(1000); // one byte a millisecond
    line.Send("abc", 5000);
    EXPECT_EQ(line.Arrived(5999), 0u);
    EXPECT_EQ(line.Arrived(6000), 1u);
    EXPECT_EQ(line.Arrived(8000), 3u);
    // A second reply waits for the line to be free.
    line.Send("de", 0);
    EXPECT_EQ(line.Arrived(9000), 4u);
    char buffer[8] = {};
    EXPECT_EQ(line.Take(20000, buffer, 8), 5u);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_TRUE(line.Idle());
}

TEST(SimLineTest, UnlimitedSpeedDeliversAtOnce) {
    SimLine line;
    line.Send(QByteArray(10306, 'w'), 10);
    EXPECT_EQ(line.Arrived(9), 0u);
    EXPECT_EQ(line.Arrived(10), 10306u);
}

TEST(SimLineTest, PurgeDropsWhatHasArrivedButNotWhatIsOnItsWay) {
    SimLine line;
    line.SetSpeed(1000);
    line.Send("abcd", 0);
    line.DropArrived(2000); // "ab" have arrived
    EXPECT_EQ(line.Arrived(2000), 0u);
    EXPECT_EQ(line.Arrived(4000), 2u);
    char buffer[4] = {};
    line.Take(4000, buffer, 4);
    EXPECT_STREQ(buffer, "cd");
}

TEST(SimLineTest, StalledBytesNeverComeAndAreDroppedByThePurge) {
    SimLine line;
    line.Send("abcdef", 0, 2);
    EXPECT_EQ(line.Arrived(1'000'000'000), 2u);
    EXPECT_FALSE(line.Idle());
    line.DropArrived(1'000'000'000);
    EXPECT_TRUE(line.Idle());
    line.Send("x", 0);
    EXPECT_EQ(line.Arrived(1'000'000'000), 1u);
}

TEST(SimLineTest, SequenceNumbersCountEveryByteTaken) {
    SimLine line;
    EXPECT_EQ(line.Send("abc", 0), 0u);
    char buffer[4] = {};
    line.Take(0, buffer, 2);
    EXPECT_EQ(line.TakenSoFar(), 2u);
    EXPECT_EQ(line.Send("de", 0), 3u);
    line.Take(0, buffer, 3);
    EXPECT_EQ(line.TakenSoFar(), 5u);
}

} // namespace
