#include "check/ReadAhead.h"

#include <QStringList>
#include <atomic>
#include <chrono>
#include <thread>
#include <gtest/gtest.h>

using namespace velmora;

TEST(ReadAhead, ResultsComeInIndexOrderWhateverFinishesFirst)
{
    for (const int jobs : {1, 2, 5}) {
        std::atomic<int> calls{0};
        CReadAhead<int> ahead(1000, jobs, [&](int i) {
            ++calls;
            return i * i;
        });
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(ahead.Take(i), i * i) << "jobs " << jobs;
        EXPECT_EQ(calls.load(), 1000) << "every item is worked on exactly once";
    }
}

// Quick items are claimed and handed over in runs that grow, and a slow item cuts a run back
// to one: every result must still reach its own index, once.
TEST(ReadAhead, RunsOfQuickAndSlowItemsKeepEveryResultAtItsIndex)
{
    std::atomic<int> calls{0};
    CReadAhead<QStringList> ahead(3000, 2, [&](int i) {
        ++calls;
        if (i % 400 == 399)
            std::this_thread::sleep_for(std::chrono::milliseconds(7));
        return QStringList{QString::number(i), QString::number(i % 7)};
    });
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(ahead.Take(i), QStringList({QString::number(i), QString::number(i % 7)}));
    EXPECT_EQ(calls.load(), 3000);
}

TEST(ReadAhead, LeavingEarlyStopsTheWorkers)
{
    std::atomic<int> calls{0};
    {
        CReadAhead<QStringList> ahead(100000, 2, [&](int i) {
            ++calls;
            return QStringList{QString::number(i)};
        });
        EXPECT_EQ(ahead.Take(0).value(0), QStringLiteral("0"));
    }
    // Workers stay a bounded distance ahead of the consumer.
    EXPECT_LT(calls.load(), 1000);
}

// A consumer slower than the workers fills the ring; the workers rest and come back at half
// the distance, and no slot may be handed a result before the one it held was taken.
TEST(ReadAhead, ASlowConsumerGetsEveryResultAfterTheWorkersRested)
{
    CReadAhead<QString> ahead(2000, 3, [](int i) { return QString::number(i * 7); });
    for (int i = 0; i < 2000; ++i) {
        if (i % 300 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_EQ(ahead.Take(i), QString::number(i * 7)) << i;
    }
    CReadAhead<int> one(1, 5, [](int i) { return i + 11; });
    EXPECT_EQ(one.Take(0), 11);
}

// After a long run of quick items the runs are long; slow items behind them must still be
// given up at a stop, one item a worker at most, as before runs were claimed.
TEST(ReadAhead, AStopAfterQuickItemsWaitsForOneSlowItemAWorker)
{
    std::atomic<int> slowCalls{0};
    {
        CReadAhead<int> ahead(1000, 2, [&](int i) {
            if (i >= 200) {
                ++slowCalls;
                std::this_thread::sleep_for(std::chrono::milliseconds(15));
            }
            return i;
        });
        for (int i = 0; i <= 200; ++i)
            ASSERT_EQ(ahead.Take(i), i);
    }
    EXPECT_LE(slowCalls.load(), 8) << "slow items worked after the consumer left";
}
