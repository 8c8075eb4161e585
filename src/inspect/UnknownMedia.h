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
// The same, with the line showing shownPath (the row's path field, which may be cut) while
// the kind of file still comes from the whole path.
SUnknownMedia DescribeUnknownMedia(const QString &path, const QString &typeText, const QString &shownPath);

} // namespace velmora
