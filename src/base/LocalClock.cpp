#include "base/LocalClock.h"

#include <QDateTime>

namespace velmora {

namespace {

constexpr qint64 kMsPerMinute = 60 * 1000;
constexpr qint64 kMsPerDay = 24 * 60 * kMsPerMinute;

} // namespace

QTime LocalTimeAt(qint64 utcMs, SLocalOffset &kept)
{
    const qint64 minute = utcMs / kMsPerMinute; // now is never before 1970
    if (minute != kept.minute) {
        kept.offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc()) * 1000;
        kept.minute = minute;
    }
    qint64 msOfDay = (utcMs + kept.offsetMs) % kMsPerDay;
    if (msOfDay < 0)
        msOfDay += kMsPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(msOfDay));
}

QTime LocalTimeNow()
{
    // Each thread keeps its own, so that logging threads need no lock.
    thread_local SLocalOffset kept;
    return LocalTimeAt(QDateTime::currentMSecsSinceEpoch(), kept);
}

} // namespace velmora
