#include "base/LocalClock.h"

#include <QDateTime>

namespace velmora {

namespace {

constexpr qint64 kMsPerMinute = 60 * 1000;
constexpr qint64 kMsPerDay = 24 * 60 * kMsPerMinute;

struct SOffsetCache
{
    qint64 minute = -1;
    qint64 offsetMs = 0;
};

} // namespace

QTime LocalTimeNow()
{
    // Each thread keeps its own, so that logging threads need no lock.
    thread_local SOffsetCache cache;
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    const qint64 minute = utcMs / kMsPerMinute;
    if (minute != cache.minute) {
        cache.offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc()) * 1000;
        cache.minute = minute;
    }
    qint64 msOfDay = (utcMs + cache.offsetMs) % kMsPerDay;
    if (msOfDay < 0)
        msOfDay += kMsPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(msOfDay));
}

} // namespace velmora
