#include "app/ProgressEstimate.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double kSecondsBeforeRate = 1.0;
constexpr double kSecondsBeforeTimeLeft = 3.0;
constexpr qint64 kFilesBeforeTimeLeft = 10;

} // namespace

SProgressEstimate EstimateProgress(qint64 done, qint64 total, double elapsedSeconds)
{
    SProgressEstimate estimate;
    if (elapsedSeconds < kSecondsBeforeRate || done <= 0)
        return estimate;
    estimate.bHasRate = true;
    estimate.dFilesPerSecond = double(done) / elapsedSeconds;
    if (total > done && elapsedSeconds >= kSecondsBeforeTimeLeft && done >= kFilesBeforeTimeLeft)
        estimate.nSecondsLeft = qint64(double(total - done) / estimate.dFilesPerSecond + 0.5);
    return estimate;
}

QString ClockText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 % 60;
    const QString rest = u"%1:%2"_s.arg(minutes).arg(seconds % 60, 2, 10, QChar(u'0'));
    if (hours == 0)
        return rest;
    return u"%1:%2:%3"_s.arg(hours).arg(minutes, 2, 10, QChar(u'0')).arg(seconds % 60, 2, 10, QChar(u'0'));
}

QString GroupedNumber(qint64 number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0 && digits.at(at - 1).isDigit(); at -= 3)
        digits.insert(at, u',');
    return digits;
}

} // namespace velmora
