#include "run/elapsed_counters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace velmira {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct Triple {
    std::int32_t hours = 0;
    std::int32_t minutes = 0;
    std::int32_t seconds = 0;
};

struct TickCase {
    const char* name;
    Triple today;
    Triple aggregate;
    Triple expectedToday;
    Triple expectedAggregate;
};

RunState StateWith(const Triple& today, const Triple& aggregate) {
    RunState state;
    state.todayHours = today.hours;
    state.todayMinutes = today.minutes;
    state.todaySeconds = today.seconds;
    state.aggregateHours = aggregate.hours;
    state.aggregateMinutes = aggregate.minutes;
    state.aggregateSeconds = aggregate.seconds;
    return state;
}

void ExpectCounters(const RunState& state, const Triple& today, const Triple& aggregate) {
    EXPECT_EQ(state.todayHours, today.hours);
    EXPECT_EQ(state.todayMinutes, today.minutes);
    EXPECT_EQ(state.todaySeconds, today.seconds);
    EXPECT_EQ(state.aggregateHours, aggregate.hours);
    EXPECT_EQ(state.aggregateMinutes, aggregate.minutes);
    EXPECT_EQ(state.aggregateSeconds, aggregate.seconds);
}

void ExpectTicks(const TickCase& c) {
    SCOPED_TRACE(c.name);
    RunState state = StateWith(c.today, c.aggregate);
    AdvanceOneSecond(state);
    ExpectCounters(state, c.expectedToday, c.expectedAggregate);
}

TEST(AdvanceOneSecond, AddsASecondAndCarriesIntoMinutesAndHours) {
    const TickCase cases[] = {
        {"from zero", {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 1}},
        {"no carry at 59", {0, 0, 58}, {0, 0, 58}, {0, 0, 59}, {0, 0, 59}},
        {"both carry into hours", {0, 59, 59}, {9, 59, 59}, {1, 0, 0}, {10, 0, 0}},
        {"hours have no width limit", {99, 59, 59}, {99, 59, 59}, {100, 0, 0}, {100, 0, 0}},
        {"both carry into minutes", {0, 0, 59}, {3, 10, 59}, {0, 1, 0}, {3, 11, 0}},
        {"triples carry on their own", {0, 0, 59}, {0, 0, 5}, {0, 1, 0}, {0, 0, 6}},
        {"aggregate carries alone", {2, 3, 4}, {0, 59, 59}, {2, 3, 5}, {1, 0, 0}},
    };
    for (const TickCase& c : cases) ExpectTicks(c);
}

TEST(AdvanceOneSecond, CounterAboveFiftyNineFallsToZeroAndDropsTheSurplus) {
    const TickCase cases[] = {
        {"both fields above 59", {5, 75, 80}, {5, 75, 80}, {6, 0, 0}, {6, 0, 0}},
        // Every carry test runs on every tick, not only after the one before carried.
        {"minutes above 59 carry without a seconds carry",
         {5, 75, 10},
         {0, 60, 0},
         {6, 0, 11},
         {1, 0, 1}},
        {"seconds carry into minutes that were already 60",
         {0, 60, 59},
         {0, 60, 59},
         {1, 0, 0},
         {1, 0, 0}},
        {"seconds far above 59 add only one minute",
         {0, 0, 1000},
         {0, 0, 1000},
         {0, 1, 0},
         {0, 1, 0}},
    };
    for (const TickCase& c : cases) ExpectTicks(c);
}

TEST(AdvanceOneSecond, NegativeCountersCountUpwards) {
    const TickCase cases[] = {
        {"negative fields", {-3, -2, -1}, {-3, -2, -1}, {-3, -2, 0}, {-3, -2, 0}},
        {"negative seconds do not borrow", {0, 59, -1}, {0, 0, -60}, {0, 59, 0}, {0, 0, -59}},
        {"negative hours take a carry", {-1, 59, 59}, {-1, 59, 59}, {0, 0, 0}, {0, 0, 0}},
        {"smallest values",
         {kMin, kMin, kMin},
         {kMin, 59, 59},
         {kMin, kMin, kMin + 1},
         {kMin + 1, 0, 0}},
    };
    for (const TickCase& c : cases) ExpectTicks(c);
}

TEST(AdvanceOneSecond, SaturatesAtTheLargestValueInsteadOfOverflowing) {
    const TickCase cases[] = {
        {"every counter at the largest value",
         {kMax, kMax, kMax},
         {kMax, kMax, kMax},
         {kMax, 0, 0},
         {kMax, 0, 0}},
        {"largest hours take a carry", {kMax, 59, 59}, {kMax, 59, 59}, {kMax, 0, 0}, {kMax, 0, 0}},
        {"one below the largest hours",
         {kMax - 1, 59, 59},
         {kMax - 1, 59, 59},
         {kMax, 0, 0},
         {kMax, 0, 0}},
        {"largest hours without a carry", {kMax, 0, 0}, {kMax, 0, 0}, {kMax, 0, 1}, {kMax, 0, 1}},
    };
    for (const TickCase& c : cases) ExpectTicks(c);
}

TEST(AdvanceOneSecond, AnHourAndAMinuteAndASecondOfTicksReadOneOneOne) {
    RunState state;
    for (int second = 0; second < 3661; ++second) AdvanceOneSecond(state);
    ExpectCounters(state, {1, 1, 1}, {1, 1, 1});
}

}  // namespace
}  // namespace velmira
