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
    QString folder = m_drives.NativePath(row.szPath);
    if (!folder.endsWith(u'/') && IsPlainFile(folder))
        folder = FolderOf(folder);
    if (testedFolder)
        *testedFolder = folder;
    if (FirstFileExists(folder, first))
        return true;
    // A song of another drive than the playlist's is looked for on the playlist's side, as
    // when a library was copied to another disc with its playlists.
    const QChar songDrive = CDriveMap::DriveLetterOf(row.szPath);
    QChar playlistDrive = CDriveMap::DriveLetterOf(m_strPlaylistPath);
    if (playlistDrive.isNull())
        playlistDrive = m_drives.DriveHolding(m_strPlaylistPath);
    if (songDrive.isNull() || songDrive == playlistDrive || m_strPlaylistFolder.isEmpty())
        return false;
    for (const QString &candidate : CDriveMap::RelocationCandidates(row.szPath, m_strPlaylistFolder)) {
        if (candidate.size() < 260 && FirstFileExists(candidate, first)) {
            row.szPath = candidate;
            if (testedFolder)
                *testedFolder = candidate;
            return true;
        }
    }
    return false;
}

QString CRevItemList::SongFolder(int i) const
{
    if (i < 0 || i >= GetItemCount())
        return {};
    QString folder = m_drives.NativePath(m_rows[i].szPath);
    if (!folder.endsWith(u'/') && IsPlainFile(folder))
        folder = FolderOf(folder);
    return folder;
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
