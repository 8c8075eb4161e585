#pragma once

#include "base/ItemArray.h"
#include "base/ItemInfo.h"

#include <QString>
#include <QStringList>

namespace velmora {

// The maker's text playlists: a Unicode record layout with a header comment naming its
// fields, and 8-bit layouts told apart by separator or column positions. Problems are
// shown through the message prompt with the texts below.
inline constexpr char16_t kCannotLoadPlaylist[] = u"Cannot load PlayList !!!";
inline constexpr char16_t kErrorOpenPlaylist[] = u"Error Open PlayList !!!";
inline constexpr char16_t kInvalidUnicodePlaylist[] = u"Invalid KLOV Unicode *.txt file";
inline constexpr char16_t kInvalidAnsiPlaylist[] = u"Invalid KLOV *.txt file";

// Larger files are refused as unloadable. A list of 100,000 songs in UTF-16 stays well
// below it; beyond it the in-memory reader would hold hundreds of megabytes and a
// conversion would keep the interface waiting for many seconds.
inline constexpr qint64 kMaxPlaylistBytes = 32 * 1024 * 1024;

// Converts a playlist into its juke cache file, one song line per line in UTF-16, and
// returns the number of lines written (1 for a naming file, which writes none; 0 on
// failure). cachePath receives the cache file's full path. An unchanged Unicode source
// that was converted before is not read again.
int ConvertKlovPlaylist(const QString &sourcePath, QString &cachePath);

// Reads the song lines of a text playlist or juke.txt list into memory; false when the
// source cannot be used. A naming file gives true and no lines.
bool ReadKlovPlaylist(const QString &sourcePath, QStringList &lines);

// Fills the details of the matching file items from the song lines, which it consumes:
// by song number when most lines begin with one, else by the first file name.
void ApplySongList(CArray<_ITEMINFO> &items, QStringList &lines);

} // namespace velmora
