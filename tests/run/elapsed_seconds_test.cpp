#include "run/elapsed_seconds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>

namespace velmira {
namespace {

using namespace std::chrono_literals;
using Time = ElapsedSeconds::Time;

// The run starts at an arbitrary reading of the monotonic clock, not at zero.
constexpr Time kRunStart = 7'654'321'987'654ns;

struct Event {
    Time sinceStart;
    std::int64_t expectedDue;
};

class ElapsedSecondsTest : public testing::Test {
protected:
    void SetUp() override { elapsed.Restart(kRunStart); }

    std::int64_t TakeDueAt(Time sinceStart) { return elapsed.TakeDue(kRunStart + sinceStart); }

    void ExpectEvents(std::initializer_list<Event> events) {
        for (const Event& event : events) {
            const std::chrono::duration<double, std::milli> at = event.sinceStart;
            SCOPED_TRACE(testing::Message() << "event at " << at.count() << " ms");
            EXPECT_EQ(TakeDueAt(event.sinceStart), event.expectedDue);
        }
    }

    ElapsedSeconds elapsed;
};

TEST_F(ElapsedSecondsTest, SteadyEventsCountOneSecondEach) {
    ExpectEvents({{1000ms, 1}, {2000ms, 1}, {3000ms, 1}, {4000ms, 1}, {5000ms, 1}});
}

TEST_F(ElapsedSecondsTest, NothingIsDueBeforeTheFirstSecond) {
    ExpectEvents({{0ms, 0}, {500ms, 0}, {900ms, 0}, {1000ms, 1}});
}

TEST_F(ElapsedSecondsTest, SlightlyEarlyEventsStillCountTheirSecond) {
    ExpectEvents({
        {999'700us, 1},  // a precise timer a fraction of a millisecond early
        {1999ms, 1},
        {2'999'999us, 1},
        {3960ms, 1},  // well inside the margin
        {5000ms, 1},  // and back on time: no second is counted twice
        {6001ms, 1},
    });
}

TEST_F(ElapsedSecondsTest, EventFarTooEarlyWaitsForTheNextOne) {
    ExpectEvents({{1000ms, 1}, {1900ms, 0}, {3000ms, 2}});
}

TEST_F(ElapsedSecondsTest, StallCatchesUpTheSecondsTheMonotonicClockSaw) {
    ExpectEvents({
        {1000ms, 1},
        {2000ms, 1},
        {3000ms, 1},
        {6500ms, 3},  // a 3.5 s stall right after a second: three seconds passed
        {7500ms, 1},  // the timer keeps its new phase
        {8500ms, 1},
        {12000ms, 4},  // a 3.5 s stall halfway into a second: four seconds passed
        {13000ms, 1},
    });
}

TEST_F(ElapsedSecondsTest, LateCoarseTimerEventsAddUpToTheTrueTime) {
    // A coarse timer fires about 5 % late; the labels must follow the clock, not the events.
    std::int64_t counted = 0;
    for (int event = 1; event <= 40; ++event) {
        const std::int64_t due = TakeDueAt(event * 1050ms);
        ASSERT_GE(due, 0);
        counted += due;
    }
    EXPECT_EQ(counted, 42);  // 42 s have passed after 40 events of 1.05 s
}

TEST_F(ElapsedSecondsTest, TimeGoingBackwardsCountsNothingAndNothingTwice) {
    ExpectEvents({{3000ms, 3}, {2500ms, 0}, {-5000ms, 0}, {3100ms, 0}, {4000ms, 1}});
}

TEST_F(ElapsedSecondsTest, RestartCountsFromTheNewStart) {
    ASSERT_EQ(TakeDueAt(10s), 10);
    elapsed.Restart(kRunStart + 20s);
    EXPECT_EQ(TakeDueAt(20s + 999ms), 1);
    EXPECT_EQ(TakeDueAt(22s), 1);
}

TEST_F(ElapsedSecondsTest, NoDriftOverAHundredThousandJitteredSeconds) {
    // Events a few milliseconds early or late around each whole second, as measured
    // from a precise timer, never skip or double a second.
    std::minstd_rand random(20240601);
    std::uniform_int_distribution<std::int64_t> jitterUs(-20'000, 20'000);
    std::int64_t counted = 0;
    std::int64_t eventsNotCountingOne = 0;
    for (std::int64_t second = 1; second <= 100'000; ++second) {
        const Time at = std::chrono::seconds(second) + std::chrono::microseconds(jitterUs(random));
        const std::int64_t due = TakeDueAt(at);
        counted += due;
        if (due != 1) ++eventsNotCountingOne;
    }
    EXPECT_EQ(eventsNotCountingOne, 0);
    EXPECT_EQ(counted, 100'000);
}

TEST(ElapsedSeconds, ClockReadingsAtOppositeEndsDoNotOverflow) {
    ElapsedSeconds elapsed;
    elapsed.Restart(Time::min());
    // 2^64 - 1 ns between the readings is 18446744073.7 s.
    EXPECT_EQ(elapsed.TakeDue(Time::max()), 18'446'744'073);
    EXPECT_EQ(elapsed.TakeDue(Time::max()), 0);
}

TEST(ElapsedSeconds, ReadingBeforeTheStartCountsNothing) {
    ElapsedSeconds elapsed;
    elapsed.Restart(Time::max());
    EXPECT_EQ(elapsed.TakeDue(Time::min()), 0);
    EXPECT_EQ(elapsed.TakeDue(Time::max() - 1s), 0);
}

}  // namespace
}  // namespace velmira
