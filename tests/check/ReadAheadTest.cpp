#include "check/ReadAhead.h"

#include <QStringList>
#include <atomic>
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
