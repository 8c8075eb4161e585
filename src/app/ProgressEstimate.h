#pragma once

#include <QString>

namespace velmora {

// How fast long work goes and how long it has left, from the files done in the time spent.
// The command line's progress line and the window's progress bar say the same.
struct SProgressEstimate
{
    bool bHasRate = false;     // only after the first second: before, it tells of start-up
    double dFilesPerSecond = 0;
    qint64 nSecondsLeft = -1;  // -1 until the rate has settled (3 s and 10 files) or when done
};

// total < 0: not known yet.
SProgressEstimate EstimateProgress(qint64 done, qint64 total, double elapsedSeconds);

// "1:05", or "1:02:05" from an hour on.
QString ClockText(qint64 seconds);
// "1,204": thousands parted by commas.
QString GroupedNumber(qint64 number);

} // namespace velmora
