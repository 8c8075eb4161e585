#include "base/LocalClock.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <thread>

namespace velmora {
namespace {

// Sets a POSIX zone rule (no zone files needed) for the life of the object.
class CZone
{
public:
    explicit CZone(const char *rule) : m_saved(qgetenv("TZ"))
    {
        qputenv("TZ", rule);
        tzset();
    }
    ~CZone()
    {
        if (m_saved.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_saved);
        tzset();
    }

private:
    QByteArray m_saved;
};

// Milliseconds from a to b on a clock face, so that a pair taken across midnight stays close.
int MsBetween(const QTime &a, const QTime &b)
{
    constexpr int kDay = 24 * 60 * 60 * 1000;
    return (b.msecsSinceStartOfDay() - a.msecsSinceStartOfDay() + kDay) % kDay;
}

// The kept offset must give what Qt's own local time gives, in a zone far from UTC and with
// a quarter-hour part (so that neither a zero offset nor whole hours can pass by chance).
TEST(LocalClock, GivesQtsLocalTimeInAZoneWithAQuarterHourOffset)
{
    const CZone zone("XXX-5:45");
    EXPECT_EQ(QDateTime::currentDateTime().offsetFromUtc(), 5 * 3600 + 45 * 60);
    // A thread of its own starts without a kept offset, whatever other tests left behind.
    std::thread([] {
        for (int i = 0; i < 1000; ++i) {
            const QTime before = QTime::currentTime();
            const QTime ours = LocalTimeNow();
            const QTime after = QTime::currentTime();
            ASSERT_LE(MsBetween(before, ours), MsBetween(before, after)) << i;
        }
    }).join();
}

// The kept offset is good only for its minute: the first stamp after a change to summer
// time must move on by the hour.
TEST(LocalClock, TakesTheOffsetAgainInEachNewMinute)
{
    const CZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    for (const QDate day : {QDate(2024, 3, 31), QDate(2031, 3, 30)}) {
        const qint64 change = QDateTime(day, QTime(1, 0), Qt::UTC).toMSecsSinceEpoch();
        SLocalOffset kept;
        EXPECT_EQ(LocalTimeAt(change - 1, kept), QTime(1, 59, 59, 999)) << day.year();
        EXPECT_EQ(LocalTimeAt(change, kept), QTime(3, 0)) << day.year();
        EXPECT_EQ(LocalTimeAt(change + 59'999, kept), QTime(3, 0, 59, 999)) << day.year();
    }
}

} // namespace
} // namespace velmora
