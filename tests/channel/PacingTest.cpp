#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sg/sgChannel.h"
#include "sg/sgClock.h"

namespace {
class FakeClock : public sgClock {
public:
    double t = 1000000;
    std::vector<double> sleeps;
    double nowMs() override { return t; }
    void sleepMs(double ms) override {
        sleeps.push_back(ms);
        t += ms;
    }
};

class PacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        sgChannel::sgFreeChannel();  // frames without a channel only pace
        sgSetClock(&clock);
        sgSetNoPacing(0);
        sgSetFrameRate(20);  // 50 ms
        // After a long idle gap pacing restarts without waiting.
        clock.t += 3600 * 1000.0;
        frame(0);
        clock.sleeps.clear();
    }
    void TearDown() override {
        sgSetClock(nullptr);
        sgSetFrameRate(20);
    }
    void frame(double afterMs) {
        clock.t += afterMs;
        sgDrawFrame(0x1C00, ++number);
    }
    FakeClock clock;
    int number = 100;
};
}  // namespace

TEST_F(PacingTest, FastFramesWaitForThePeriod) {
    frame(20);
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_DOUBLE_EQ(clock.sleeps[0], 30);
    frame(50);  // exactly one period after the paced start
    EXPECT_EQ(clock.sleeps.size(), 1u);
}

TEST_F(PacingTest, LateFrameWaitsForTheNextMultiple) {
    frame(75);  // 1.5 periods: delayed to 2 periods
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_DOUBLE_EQ(clock.sleeps[0], 25);
    frame(10);  // the paced time moved on by 2 periods: 40 ms left
    ASSERT_EQ(clock.sleeps.size(), 2u);
    EXPECT_DOUBLE_EQ(clock.sleeps[1], 40);
    frame(130);  // 2.6 periods: delayed to 4
    ASSERT_EQ(clock.sleeps.size(), 3u);
    EXPECT_DOUBLE_EQ(clock.sleeps[2], 70);
}

TEST_F(PacingTest, IdleGapRestartsWithoutSleeping) {
    frame(60000);
    EXPECT_TRUE(clock.sleeps.empty());
    frame(10);  // counted from the restart
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_DOUBLE_EQ(clock.sleeps[0], 40);
}

TEST_F(PacingTest, PassesOfOneFrameArePacedOnce) {
    clock.t += 10;
    for (int pass = 0; pass < 8; ++pass) sgDrawFrame(0x1C00, number + 1);
    EXPECT_EQ(clock.sleeps.size(), 1u);
}

TEST_F(PacingTest, NoPacingNeverSleeps) {
    sgSetNoPacing(1);
    frame(1);
    frame(1);
    EXPECT_TRUE(clock.sleeps.empty());
    sgSetNoPacing(0);
}

TEST_F(PacingTest, FrameRateIsClampedAndRounded) {
    EXPECT_FLOAT_EQ(sgSetFrameRate(0), 1.0f);
    EXPECT_FLOAT_EQ(sgSetFrameRate(-5), 1.0f);
    EXPECT_FLOAT_EQ(sgSetFrameRate(std::nanf("")), 1.0f);
    EXPECT_FLOAT_EQ(sgSetFrameRate(5000), 1000.0f);
    frame(0.5);  // a 1 ms period still paces without dividing by zero
    EXPECT_EQ(clock.sleeps.size(), 1u);
    EXPECT_FLOAT_EQ(sgSetFrameRate(30), 1000.0f / 33);
    EXPECT_FLOAT_EQ(sgGetFrameRate(), 1000.0f / 33);
}
