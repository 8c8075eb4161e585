#include "base/LocalClock.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <thread>

namespace velmora {
namespace {

// Milliseconds from a to b on a clock face, so that a pair taken across midnight stays close.
int MsBetween(const QTime &a, const QTime &b)
{
    constexpr int kDay = 24 * 60 * 60 * 1000;
    return (b.msecsSinceStartOfDay() - a.msecsSinceStartOfDay() + kDay) % kDay;
}

// The kept offset must give what Qt's own local time gives, in a zone far from UTC and with
// a half-hour part (so that neither a zero offset nor whole hours can pass by chance).
TEST(LocalClock, GivesQtsLocalTimeInAZoneWithAQuarterHourOffset)
{
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "Asia/Kathmandu");
    tzset();
    // A thread of its own starts without a kept offset, whatever other tests left behind.
    std::thread([] {
        for (int i = 0; i < 1000; ++i) {
            const QTime before = QTime::currentTime();
            const QTime ours = LocalTimeNow();
            const QTime after = QTime::currentTime();
            ASSERT_LE(MsBetween(before, ours), MsBetween(before, after)) << i;
        }
    }).join();
    const qint64 offset = QDateTime::currentDateTime().offsetFromUtc();
    EXPECT_EQ(offset, 5 * 3600 + 45 * 60);
    if (savedZone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", savedZone);
    tzset();
}

} // namespace
} // namespace velmora
