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

QStringList CRevItemList::RelocationFolders(const QString &songFolder) const
{
    // A song of another drive than the playlist's is looked for on the playlist's side, as
    // when a library was copied to another disc with its playlists.
    const QString playlistPath = m_strLoadingPath.isEmpty() ? m_strPlaylistPath : m_strLoadingPath;
    const QString playlistFolder = FolderOf(playlistPath);
    const QChar songDrive = CDriveMap::DriveLetterOf(songFolder);
    QChar playlistDrive = CDriveMap::DriveLetterOf(playlistPath);
    if (playlistDrive.isNull())
        playlistDrive = m_drives.DriveHolding(playlistPath);
    if (songDrive.isNull() || songDrive == playlistDrive || playlistFolder.isEmpty())
        return {};
    return CDriveMap::RelocationCandidates(songFolder, playlistFolder);
}

QStringList CRevItemList::SongFolders(int i) const
{
    if (i < 0 || i >= GetItemCount())
        return {};
    const QString path = m_rows[i].szPath;
    QString folder = m_drives.NativePath(path);
    if (!folder.endsWith(u'/') && IsPlainFile(folder))
        folder = FolderOf(folder);
    return QStringList{folder} + RelocationFolders(path);
}

bool CRevItemList::SongFileExists(const QString &folder, const QString &name)
{
    return !name.isEmpty() && !m_names.Resolve(folder, name).isEmpty();
}

QString CRevItemList::LocateSongFile(const QString &file, const QString &folder)
{
    // A bare file name is looked for in the record's folder, not in whatever folder the
    // program was started from.
    const QString nativeFile = m_drives.NativePath(file);
    const QString path =
        nativeFile.startsWith(u'/') ? nativeFile : FolderOf(m_drives.NativePath(folder) + u'/') + nativeFile;
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const QString found = m_names.Resolve(path.left(nameStart), path.mid(nameStart));
    if (!found.isEmpty() || nativeFile.startsWith(u'/'))
        return found.isEmpty() ? path : found;
    for (const QString &candidate : RelocationFolders(folder)) {
        const QString relocated = m_names.Resolve(candidate, nativeFile);
        if (!relocated.isEmpty())
            return relocated;
    }
    return path;
}

bool CRevItemList::RecordFileFound(const QString &files, const QString &folder, QString *foundFolder)
{
    if (files.endsWith(u"scdg"_s))
        return SongFileExists(ScdgFolder(m_drives, folder), u"cvmd0001.dat"_s);
    if (files.endsWith(u".cda"_s))
        return true;
    const QString first = files.section(u';', 0, 0);
    if (SongFileExists(FolderOf(m_drives.NativePath(folder)), first))
        return true;
    for (const QString &candidate : RelocationFolders(folder)) {
        if (candidate.size() < 260 && SongFileExists(candidate, first)) {
            *foundFolder = candidate;
            return true;
        }
    }
    return false;
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
        return SongFileExists(folder, u"cvmd0001.dat"_s);
    }
    if (files.endsWith(u".cda"_s))
        return true;
    const QStringList folders = SongFolders(i);
    if (testedFolder)
        *testedFolder = folders.first();
    if (SongFileExists(folders.first(), first))
        return true;
    for (qsizetype k = 1; k < folders.size(); ++k) {
        if (folders.at(k).size() < 260 && SongFileExists(folders.at(k), first)) {
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
