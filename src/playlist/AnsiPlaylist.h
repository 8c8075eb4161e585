#pragma once

#include "playlist/PlaylistLines.h"

#include <QString>

namespace velmora {

class CStdioFileEx;

// Reads an 8-bit playlist from its start: decides its layout from a sample line, then
// delivers one uniform song line per data line. The jukebox song list layout is only
// recognised when allowed.
EPlaylistOutcome ReadAnsiPlaylist(CStdioFileEx &file, const QString &sourcePath, bool jukeboxListAllowed,
                                  const SongLineSink &sink);

// The line the layout is decided from: the first data line that begins with a non-zero
// number, or else the last data line; empty when the source has no data line.
QString LayoutSampleLine(CStdioFileEx &file);

} // namespace velmora
