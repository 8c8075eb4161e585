// When a long task lets the window run: often enough to look live, rarely enough that the
// window's drawing stays a small share of the task.
#include "app/PumpBudget.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

constexpr qint64 kMs = 1'000'000;

// A clock the test moves by hand; a window turn advances it by its own length.
struct SManualClock
{
    qint64 now = 1'000 * kMs;
    std::function<qint64()> Reader()
    {
        return [this] { return now; };
    }
};

} // namespace

TEST(PumpBudget, FirstOfferRunsAndLaterOnesWaitForTheGap)
{
    SManualClock clock;
    CPumpBudget budget(clock.Reader());
    int turns = 0;
    const auto turnOf = [&](qint64 length) {
        return [&clock, &turns, length] {
            ++turns;
            clock.now += length;
        };
    };
    EXPECT_TRUE(budget.RunIfDue(turnOf(2 * kMs)));
    EXPECT_EQ(budget.GapNs(), CPumpBudget::kMinGapNs); // 9 x 2 ms is below the floor
    clock.now += 39 * kMs;
    EXPECT_FALSE(budget.RunIfDue(turnOf(2 * kMs)));
    clock.now += 1 * kMs;
    EXPECT_TRUE(budget.RunIfDue(turnOf(10 * kMs)));
    EXPECT_EQ(turns, 2);
    // A 10 ms turn buys the task 90 ms.
    EXPECT_EQ(budget.GapNs(), 90 * kMs);
    clock.now += 89 * kMs;
    EXPECT_FALSE(budget.IsDue());
    clock.now += 1 * kMs;
    EXPECT_TRUE(budget.IsDue());
}

TEST(PumpBudget, SlowTurnsStillComeSeveralTimesASecond)
{
    SManualClock clock;
    CPumpBudget budget(clock.Reader());
    budget.RunIfDue([&] { clock.now += 200 * kMs; });
    EXPECT_EQ(budget.GapNs(), CPumpBudget::kMaxGapNs);
    clock.now += CPumpBudget::kMaxGapNs;
    EXPECT_TRUE(budget.IsDue());
}

TEST(PumpBudget, NoTurnStartsInsideATurn)
{
    SManualClock clock;
    CPumpBudget budget(clock.Reader());
    bool nested = true;
    budget.RunIfDue([&] {
        clock.now += 500 * kMs;
        nested = budget.RunIfDue([] {});
    });
    EXPECT_FALSE(nested);
}

TEST(PumpBudget, SteadyClockByDefault)
{
    CPumpBudget budget;
    EXPECT_TRUE(budget.IsDue());
    EXPECT_TRUE(budget.RunIfDue([] {}));
}
