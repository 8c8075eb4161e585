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

// Reads the tool's report lines: the listed keys of the General, Video and Audio sections
// are joined with ", " into one summary each; General's Duration is also the duration text.
SToolSummaries ParseToolReport(const QStringList &lines);

// Playing time of a duration text, in whole seconds. Both spellings the tool has used are
// read: "1h 5mn" → 3900, "3mn 25s" → 205, "25s 300ms" → 25, and "1 h 2 min" → 3720,
// "5 s 41 ms" → 5, "752 ms" → 0.
int DurationTextToSeconds(const QString &text);

} // namespace velmora
