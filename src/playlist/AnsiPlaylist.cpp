#include "playlist/AnsiPlaylist.h"

#include "inspect/TextNumbers.h"
#include "playlist/PlaylistLayout.h"
#include "base/StdioFileEx.h"
#include "playlist/UniformSongLines.h"

namespace velmora {

QString LayoutSampleLine(CStdioFileEx &file)
{
    // Without a numbered line the last data line decides: a comment or a short line after
    // it cannot stand for the list.
    QString line;
    QString sample;
    while (file.ReadString(line)) {
        if (!IsDataLine(line))
            continue;
        sample = line;
        if (LeadingInteger(line) != 0)
            break;
    }
    return sample;
}

EPlaylistOutcome ReadAnsiPlaylist(CStdioFileEx &file, const QString &sourcePath, bool jukeboxListAllowed,
                                  const SongLineSink &sink)
{
    const EPlaylistLayout layout = DetectPlaylistLayout(LayoutSampleLine(file), sourcePath, jukeboxListAllowed);
    if (layout == EPlaylistLayout::Invalid)
        return EPlaylistOutcome::InvalidAnsi;
    file.Seek(0, CStdioFileEx::begin);
    CUniformSongLines songLines(layout, sourcePath);
    QString line;
    while (file.ReadString(line)) {
        if (IsDataLine(line) && !sink(songLines.SongLine(line)))
            return EPlaylistOutcome::SinkFailed;
    }
    return EPlaylistOutcome::Songs;
}

} // namespace velmora
