// The waveform's points on the chart and the hit test of the mouse against a drawn line.
#include "waveform/waveseries.h"

#include "tests/support/recordbuilder.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(WaveSeriesPoints, TimeInMsecAndCurrentScaledToThePeak) {
    auto rec = MakeFullRecord();
    const TLoadResults results = ComputeLoadResults(rec->Loads[3], 3);
    const WaveSeriesData data = WaveSeriesPoints(rec->Loads[3], results);
    ASSERT_EQ(data.keys.size(), SAMPLE_COUNT);
    ASSERT_EQ(data.values.size(), SAMPLE_COUNT);
    EXPECT_EQ(data.keys[0], 0.0);
    EXPECT_EQ(data.keys[1], static_cast<double>(SampleInterval));
    EXPECT_NEAR(data.keys[SAMPLE_COUNT - 1], 58.3566, 1e-3);
    double largest = 0.0;
    for (double v : data.values)
        largest = std::max(largest, std::fabs(v));
    EXPECT_FLOAT_EQ(static_cast<float>(largest), results[lrPeakCurrent1]);
    EXPECT_LT(*std::min_element(data.values.begin(), data.values.end()), 0.0); // second phase kept negative
}

namespace {

// Eleven points 0..10 msec over 100 pixels, current -5..5 A over 100 pixels (bottom to top).
const AxisPixels X{0.0, 10.0, 0.0, 100.0};
const AxisPixels Y{-5.0, 5.0, 100.0, 0.0};

WaveSeriesData Flat() {
    WaveSeriesData d;
    for (int i = 0; i <= 10; ++i) {
        d.keys << i;
        d.values << 0.0;
    }
    return d;
}

} // namespace

TEST(HitTestLine, OnTheLineWithinThreePixels) {
    const WaveSeriesData d = Flat();
    EXPECT_EQ(HitTestLine(d, X, Y, {52.0, 50.0}), 5);
    EXPECT_EQ(HitTestLine(d, X, Y, {58.0, 52.5}), 6);
    EXPECT_EQ(HitTestLine(d, X, Y, {55.0, 47.0}), 5);
    EXPECT_EQ(HitTestLine(d, X, Y, {55.0, 54.0}), -1);
    EXPECT_EQ(HitTestLine(d, X, Y, {55.0, 10.0}), -1);
}

TEST(HitTestLine, SteepSegmentsAndEnds) {
    WaveSeriesData d = Flat();
    d.values[5] = 5.0; // a spike from (40,50) up to (50,0) and down to (60,50)
    EXPECT_EQ(HitTestLine(d, X, Y, {45.0, 25.0}), 4);
    EXPECT_EQ(HitTestLine(d, X, Y, {49.0, 3.0}), 5);
    EXPECT_EQ(HitTestLine(d, X, Y, {45.0, 45.0}), -1);
    EXPECT_EQ(HitTestLine(d, X, Y, {-2.0, 50.0}), 0);
    EXPECT_EQ(HitTestLine(d, X, Y, {-4.0, 50.0}), -1);
    EXPECT_EQ(HitTestLine(d, X, Y, {102.0, 51.0}), 10);
    EXPECT_EQ(HitTestLine(d, X, Y, {200.0, 50.0}), -1);
}

TEST(HitTestLine, GapsAndEmptySeriesAreNotHit) {
    WaveSeriesData d = Flat();
    d.values[5] = std::nan("");
    EXPECT_EQ(HitTestLine(d, X, Y, {45.0, 50.0}), -1);
    EXPECT_EQ(HitTestLine(d, X, Y, {65.0, 50.0}), 6);
    EXPECT_EQ(HitTestLine(WaveSeriesData{}, X, Y, {45.0, 50.0}), -1);
    WaveSeriesData single;
    single.keys << 5.0;
    single.values << 0.0;
    EXPECT_EQ(HitTestLine(single, X, Y, {51.0, 51.0}), 0);
    EXPECT_EQ(HitTestLine(single, X, Y, {55.0, 50.0}), -1);
}
