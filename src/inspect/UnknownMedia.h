#pragma once

#include <QString>

namespace velmora {

// How a file of which nothing could be learnt is reported, by the ending of its path.
struct SUnknownMedia
{
    QString strLogLine;  // the Problem line, complete
    bool bSetsResult = true;
    QString strResult;
};

SUnknownMedia DescribeUnknownMedia(const QString &path, const QString &typeText);

} // namespace velmora
