#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The one-line summaries the media-details check takes from the media tool's report.
struct SToolSummaries
{
    QString strGeneral;
    QString strVideo;
    QString strAudio;
    QString strDuration;
};

SToolSummaries ParseToolReport(const QStringList &lines);

// "1h 5mn" → 3900, "3mn 25s" → 205, "25s 300ms" → 25.
int DurationTextToSeconds(const QString &text);

} // namespace velmora
