#pragma once

#include <QString>

namespace velmora {

class CRevItemList;

inline constexpr char16_t kInvalidMplFile[] = u"KLOVMPL : Invalid KLOV *.mpl file";
inline constexpr char16_t kTruncatedMplFile[] = u"KLOVMPL : Unexpected end of *.mpl file";

// Larger files are refused as unloadable; a million songs of revision 2 take about 60 MB.
inline constexpr qint64 kMaxMplBytes = 512 * 1024 * 1024;

// What the rows of one load may hold in memory, as RowHeapBytes counts it: 16 bytes per byte
// of the file plus 128 MiB. A record can be two bytes while its row takes 336 and more, so
// a file of empty records would otherwise take 67 (revision 2) to 192 (version 1) times its
// size; playlists with names like "KV0123-05 - Artist - Title.mp3" take about 7 to 13, and
// the fixed part alone holds about 200,000 rows of such songs. While it loads, the file's
// own bytes are held as well.
struct SMplRowBudget
{
    qint64 nPerFileByte = 16;
    qint64 nFixed = 128 * 1024 * 1024;

    qint64 For(qint64 fileBytes) const { return nPerFileByte * fileBytes + nFixed; }
};

// Appends the songs of an MPL playlist ("klovmplfile" or "klovmplrev2") to the grid. On
// success sets the grid's playlist path, folder and encoding (0). A file that ends inside
// a record keeps the rows read before it and fails. A file whose rows would hold more than
// the budget allows is refused with "Cannot load PlayList !!!": before any row is added
// when its own texts are enough to tell, otherwise (the tags a version-1 song's file
// gives) as soon as the rows pass it, with this load's rows removed again.
bool LoadMplFile(CRevItemList &grid, const QString &path, const SMplRowBudget &budget = {});

} // namespace velmora
