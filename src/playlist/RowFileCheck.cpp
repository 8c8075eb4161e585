#include "playlist/RowFileCheck.h"

#include "inspect/FileList.h"
#include "platform/FileStatus.h"
#include "playlist/RevItemList.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString ScdgFolder(const CDriveMap &drives, const QString &folder)
{
    const QChar drive = CDriveMap::DriveLetterOf(folder);
    if (!drive.isNull() && drives.IsOpticalDrive(drive))
        return drives.MountPointOf(drive) + u"/KLOV_MCG"_s;
    return drives.NativePath(folder);
}

namespace {

bool IsPlainFile(const QString &path)
{
    SFileStatus status;
    return QueryFileStatus(path, &status) && !status.bFolder;
}

} // namespace

QStringList CRevItemList::SongFolders(int i) const
{
    if (i < 0 || i >= GetItemCount())
        return {};
    const QString path = m_rows[i].szPath;
    QString folder = m_drives.NativePath(path);
    if (!folder.endsWith(u'/') && IsPlainFile(folder))
        folder = FolderOf(folder);
    QStringList folders{folder};
    // A song of another drive than the playlist's is looked for on the playlist's side, as
    // when a library was copied to another disc with its playlists.
    const QChar songDrive = CDriveMap::DriveLetterOf(path);
    QChar playlistDrive = CDriveMap::DriveLetterOf(m_strPlaylistPath);
    if (playlistDrive.isNull())
        playlistDrive = m_drives.DriveHolding(m_strPlaylistPath);
    if (!songDrive.isNull() && songDrive != playlistDrive && !m_strPlaylistFolder.isEmpty())
        folders += CDriveMap::RelocationCandidates(path, m_strPlaylistFolder);
    return folders;
}

bool CRevItemList::DecideFound(int i, QString *testedFolder, QString *firstFile)
{
    _ITEMINFO &row = m_rows[i];
    const QString files = row.szFileName;
    const QString first = files.section(u';', 0, 0);
    if (firstFile)
        *firstFile = first;
    if (files.endsWith(u"scdg"_s)) {
        const QString folder = ScdgFolder(m_drives, row.szPath);
        if (testedFolder)
            *testedFolder = folder;
        return FirstFileExists(folder, u"cvmd0001.dat"_s);
    }
    if (files.endsWith(u".cda"_s))
        return true;
    const QStringList folders = SongFolders(i);
    if (testedFolder)
        *testedFolder = folders.first();
    if (FirstFileExists(folders.first(), first))
        return true;
    for (qsizetype k = 1; k < folders.size(); ++k) {
        if (folders.at(k).size() < 260 && FirstFileExists(folders.at(k), first)) {
            row.szPath = folders.at(k);
            if (testedFolder)
                *testedFolder = folders.at(k);
            return true;
        }
    }
    return false;
}

bool CRevItemList::RowFileFound(int i)
{
    if (i < 0 || i >= GetItemCount())
        return false;
    const _ITEMINFO &row = m_rows[i];
    if (!(row.dwFlags & REV_CHECK_PENDING))
        return (row.dwFlags & REV_FOUND) != 0;
    return DecideFound(i, nullptr, nullptr);
}

bool CRevItemList::CheckRowFile(int i, QString &folder, QString &file)
{
    folder.clear();
    file.clear();
    if (i < 0 || i >= GetItemCount())
        return false;
    const _ITEMINFO &row = m_rows[i];
    if (!(row.dwFlags & REV_CHECK_PENDING))
        return (row.dwFlags & REV_FOUND) != 0;
    return DecideFound(i, &folder, &file);
}

} // namespace velmora
