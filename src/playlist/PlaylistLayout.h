#pragma once

#include <QString>

namespace velmora {

// The column layouts of the maker's 8-bit playlists, told apart by their separator or by
// fixed column positions.
enum class EPlaylistLayout {
    Invalid,
    TabList,         // number, title, artist
    JukeboxSongList, // number, title, artist of a "Songs/Songlist.txt" beside numbered folders
    FullRecordList,  // file, number, title, artist
    BarList,         // number, title, artist
    HashList,        // number, title, artist
    FixedColumns,    // number in 0..4, title in 5..43, artist from 44
};

// True when the path ends in "Songs/Songlist.txt", without regard to case or to the kind
// of separator.
bool IsJukeboxSongListPath(const QString &sourcePath);

// The layout that one sample line of the source shows. The jukebox song list is only
// considered when allowed.
EPlaylistLayout DetectPlaylistLayout(const QString &line, const QString &sourcePath, bool jukeboxListAllowed);

// The song fields of one data line, trimmed at both ends. file is only set by the full
// record layout.
struct SSongFields
{
    QString strNumber;
    QString strTitle;
    QString strArtist;
    QString strFile;
};

SSongFields SplitSongFields(EPlaylistLayout layout, const QString &line);

} // namespace velmora
