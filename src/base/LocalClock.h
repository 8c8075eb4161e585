#pragma once

#include <QTime>

namespace velmora {

// The local time of day, as QTime::currentTime() gives it, for a stamp on every trace line.
// Qt works out the local offset on every call, which cost a check's window an eighth of its
// time; the offset is kept here for the rest of the UTC minute it was taken in, since zones
// change their offsets only on a whole minute. (A zone changed by hand while the program
// runs shows after at most a minute.)
QTime LocalTimeNow();

// The offset kept, one per thread.
struct SLocalOffset
{
    qint64 minute = -1;
    qint64 offsetMs = 0;
};

// The local time of day at utcMs, taking the offset from kept while utcMs lies in its minute.
QTime LocalTimeAt(qint64 utcMs, SLocalOffset &kept);

} // namespace velmora
