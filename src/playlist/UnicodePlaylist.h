#pragma once

#include "playlist/PlaylistLines.h"

#include <QString>

namespace velmora {

class CStdioFileEx;

// What a comment line of a Unicode playlist says about the file.
enum class EHeaderKind {
    NotHeader, // an ordinary comment
    Record,    // the header of a record file (song records follow)
    Naming,    // the header of a naming file (no songs)
    Unusable,  // a header that names neither
};

EHeaderKind ClassifyHeaderComment(const QString &comment);

// The number of "|" a whole record holds: the "," and "." of the field list that follows
// the header's last ":".
qsizetype HeaderSeparatorCount(const QString &header);

// A record that has grown to this many units takes no further continuation lines, so a
// header that promises more fields than any record has cannot glue a whole file together.
constexpr qsizetype kMaxRecordUnits = 4 * 1024 * 1024;

// Reads a Unicode playlist from its start: the comments up to the header, then every
// record with its continuation lines joined. With recordNeedsBar a data line without "|"
// starts no record and is passed over.
EPlaylistOutcome ReadUnicodePlaylist(CStdioFileEx &file, bool recordNeedsBar, const SongLineSink &sink);

} // namespace velmora
