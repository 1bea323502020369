#include <gtest/gtest.h>

#include "platform/app/GameTimer.h"

namespace {

// A clock the test moves by hand, in nanoseconds; it never starts at 0, since
// a stop time of 0 means "running".
std::int64_t timerNow = 0;
std::int64_t TimerClock() { return timerNow; }
constexpr std::int64_t kTimerSecond = 1'000'000'000;

class GameTimerTest : public testing::Test {
protected:
    void SetUp() override {
        timerNow = 1000 * kTimerSecond;
        SetGameTimerClock(TimerClock);
        GameTimer(TIMER_RESET);
    }
    void TearDown() override { SetGameTimerClock(nullptr); }
    static void Wait(double seconds) { timerNow += static_cast<std::int64_t>(seconds * kTimerSecond); }
};

TEST_F(GameTimerTest, StoppedPeriodsAreLeftOutOfApplicationTime) {
    Wait(2);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETAPPTIME), 2.0);
    GameTimer(TIMER_STOP);
    Wait(5);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETAPPTIME), 2.0);
    GameTimer(TIMER_START);
    Wait(1);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETAPPTIME), 3.0);
}

TEST_F(GameTimerTest, SecondStopAndStartWhileRunningChangeNothing) {
    Wait(1);
    GameTimer(TIMER_STOP);
    Wait(3);
    GameTimer(TIMER_STOP);  // same stopped moment: no effect
    Wait(3);
    GameTimer(TIMER_START);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETAPPTIME), 1.0);
    GameTimer(TIMER_START);  // running: only the elapsed mark moves
    Wait(0.5);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETAPPTIME), 1.5);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETELAPSEDTIME), 0.5);
}

TEST_F(GameTimerTest, AdvanceWhileStoppedAddsATenth) {
    Wait(4);
    GameTimer(TIMER_STOP);
    Wait(10);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_ADVANCE), 0.0);
    EXPECT_NEAR(GameTimer(TIMER_GETAPPTIME), 4.1, 1e-9);
    GameTimer(TIMER_ADVANCE);
    EXPECT_NEAR(GameTimer(TIMER_GETAPPTIME), 4.2, 1e-9);
}

TEST_F(GameTimerTest, AbsoluteTimeIgnoresTheStop) {
    GameTimer(TIMER_STOP);
    Wait(7);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETABSOLUTETIME), 1007.0);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETAPPTIME), 0.0);
}

TEST_F(GameTimerTest, ElapsedTimeCountsFromTheLastQueryOrStateChange) {
    Wait(2);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETELAPSEDTIME), 2.0);
    Wait(1);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETELAPSEDTIME), 1.0);
    Wait(1);
    GameTimer(TIMER_STOP);
    Wait(4);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETELAPSEDTIME), 0.0);
}

TEST_F(GameTimerTest, UnknownCommandsGiveMinusOneAndChangeNothing) {
    Wait(2);
    EXPECT_EQ(GameTimer(9), -1.0);
    EXPECT_EQ(GameTimer(-1), -1.0);
    EXPECT_EQ(GameTimer(7), -1.0);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETAPPTIME), 2.0);
    EXPECT_DOUBLE_EQ(GameTimer(TIMER_GETELAPSEDTIME), 2.0);
}

TEST_F(GameTimerTest, TicksAreTruncatedSixteenthsOfSixteenths) {
    Wait(1.999);
    EXPECT_EQ(GameTicks(), 511);
}

TEST(GameTimerSteadyClock, RealClockMovesForward) {
    SetGameTimerClock(nullptr);
    GameTimer(TIMER_RESET);
    double a = GameTimer(TIMER_GETABSOLUTETIME);
    double b = GameTimer(TIMER_GETABSOLUTETIME);
    EXPECT_GE(b, a);
    EXPECT_GE(GameTimer(TIMER_GETAPPTIME), 0.0);
}

}  // namespace
