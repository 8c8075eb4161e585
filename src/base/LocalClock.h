#pragma once

#include <QTime>

namespace velmora {

// The local time of day, as QTime::currentTime() gives it, for a stamp on every trace line.
// Qt works out the local offset on every call, which cost a check's window an eighth of its
// time; the offset is kept here for the rest of the minute it was taken in, since local time
// only changes its offset on a whole minute.
QTime LocalTimeNow();

} // namespace velmora
