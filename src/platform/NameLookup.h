#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace velmora {

// Finds the entry of folder whose name equals name without regard to case, as the fixed
// names of the jukebox layouts (juke.txt, _Songs, ZR000000) are meant on a copy from a
// Windows machine. Returns the full path of the entry (an exact match wins), or an empty
// text when there is none.
QString ResolveNameNoCase(const QString &folder, const QString &name);

// Finds files the way a case-insensitive file system would: folder/relative as it exists,
// each step that is not there as written taken in any case (an exact match wins; among
// others the first in name order). Playlists copied from DOS discs and Windows machines name
// "00001.mcg" for "00001.MCG". Each folder is read once and again only when it changed
// (asked at most every tenth of a second), since a playlist names thousands of songs in a
// few folders.
class CNoCaseNames
{
public:
    // The existing path, or an empty text when there is none in any case.
    QString Resolve(const QString &folder, const QString &relative);
    void Clear() { m_folders.clear(); }

private:
    struct SFolder
    {
        qint64 nChangeTime = 0; // the folder's modification time when it was read
        qint64 nReadTime = 0;   // when it was read (same clock)
        qint64 nCheckedAt = 0;  // when the folder was last asked whether it changed
        QSet<QString> names;
        QHash<QString, QString> byFoldedName; // case-folded name -> the first such name
    };
    const SFolder *Listing(const QString &folder);

    QHash<QString, SFolder> m_folders;
};

} // namespace velmora
