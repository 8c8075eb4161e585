#pragma once

#include "playlist/PlaylistLayout.h"

#include <QString>
#include <QStringList>

namespace velmora {

// Turns the data lines of an 8-bit playlist into uniform song lines
// "number|title|artist|file-name list|folder", resolving each song's files and folder the
// way its layout keeps them.
class CUniformSongLines
{
public:
    CUniformSongLines(EPlaylistLayout layout, const QString &sourcePath);

    QString SongLine(const QString &dataLine);

private:
    QString ListFolder() const;
    QString TakeNumberedSong(int number, QString &folder);

    EPlaylistLayout m_layout;
    QString m_strSourceFolder;
    QString m_strListFolder;
    // The numbered folder of the jukebox song list last enumerated, and its unused songs.
    int m_nFolderNumber = -1;
    QString m_strNumberedFolder;
    QStringList m_folderSongs;
};

// The source path up to, not including, its last separator.
QString SourceFolderOf(const QString &sourcePath);

} // namespace velmora
