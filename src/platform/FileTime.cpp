#include "platform/FileTime.h"

#include <ctime>

namespace velmora {

namespace {
constexpr qint64 kSecondsFrom1601To1970 = 11644473600LL;
constexpr qint64 kTicksPerSecond = 10000000LL;
}

SFileTime SFileTime::FromUnix(qint64 seconds, qint64 nanoseconds)
{
    const qint64 since1601 = seconds + kSecondsFrom1601To1970;
    if (since1601 < 0)
        return {};
    return FromTicks(quint64(since1601) * kTicksPerSecond + quint64(nanoseconds / 100));
}

SFileTime SFileTime::Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return FromUnix(now.tv_sec, now.tv_nsec);
}

} // namespace velmora
