#include "inspect/MediaAnalysis.h"

namespace velmora {

// The per-file readers (MP3 frames and tags, packages, MIDI, the media library) are not
// written yet: every file yields an empty result.

bool ReadMediaTags(const QString &, QStringList &result)
{
    result.clear();
    return false;
}

bool AnalyseMediaFile(const QString &, QStringList &result)
{
    result.clear();
    return false;
}

} // namespace velmora
