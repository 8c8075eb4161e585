#include "check/DirectoryWalk.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "check/TreeListing.h"
#include "platform/FindFile.h"
#include "platform/MessagePump.h"
#include "platform/NameLookup.h"
#include "platform/NativeName.h"
#include "platform/StopRequest.h"

#include <QSet>
#include <algorithm>
#include <limits>
#include <optional>
#include <sys/stat.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kPumpEvery = 256;

QString WithSeparator(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// A row keeps its path for the whole check: built at its exact size, where appending to a
// copy of the folder would reserve room to grow (up to twice the text, for 100,000 rows).
QString PathIn(const QString &folder, const QString &name)
{
    const bool separated = folder.endsWith(u'/');
    QString path;
    path.reserve(folder.size() + (separated ? 0 : 1) + name.size());
    path.append(folder);
    if (!separated)
        path.append(u'/');
    return path.append(name);
}

bool EndsWithBak(const QString &path)
{
    return QStringView(path).right(4).compare(u".bak", Qt::CaseInsensitive) == 0;
}

bool IsDotEntry(const QString &name)
{
    return name == u"."_s || name == u".."_s;
}

void PumpEvery256(int count)
{
    if (count % kPumpEvery == 0)
        PumpMessages();
}

// Room for a folder's rows up front; the flat walk's row limit also caps what is reserved
// ahead (past it the array grows as usual).
void PreallocateRows(CDirItemList &list, size_t entries)
{
    const size_t ahead = std::min(entries, size_t(kFlatWalkRowLimit) + 1);
    list.m_items.Preallocate(list.GetItemCount() + int(ahead));
}

// Identity of a folder on disk, so a link back up the tree is not followed forever.
QString FolderIdentity(const QString &folder)
{
    struct stat info {};
    if (::stat(EncodeNativeName(folder).constData(), &info) != 0)
        return {};
    return QString::number(info.st_dev) + u':' + QString::number(info.st_ino);
}

void ListOneFolder(const QString &folder, std::vector<SListedFile> &files, QSet<QString> &visited,
                   const std::atomic<bool> *stop)
{
    if (stop && *stop)
        return;
    const QString identity = FolderIdentity(folder);
    if (identity.isEmpty() || visited.contains(identity))
        return;
    visited.insert(identity);
    CFindFile search;
    if (!search.FindFile(folder))
        return;
    const QString base = folder.endsWith(u'/') && folder.size() > 1 ? folder.chopped(1) : folder;
    QStringList subfolders;
    SFindRecord record;
    while (search.FindNextFile(record)) {
        if (IsDotEntry(record.cFileName))
            continue;
        if (record.IsFolder())
            subfolders.append(record.cFileName);
        else
            files.push_back({record.cFileName, base, record.nFileSize});
    }
    search.Close();
    for (const QString &name : std::as_const(subfolders))
        ListOneFolder(WithSeparator(base) + name, files, visited, stop);
}

SFindRecord ListedFileRecord(const SListedFile &file)
{
    SFindRecord record;
    record.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    record.ftCreationTime = SFileTime::Now();
    record.ftLastAccessTime = record.ftCreationTime;
    record.nFileSize = std::min<quint64>(file.nSize, quint64(std::numeric_limits<qint32>::max()));
    record.cFileName = file.strName;
    return record;
}

void RecursiveWalk(CDirItemList &list, const QString &path, CTreeListing *listing)
{
    std::optional<CTreeListing> ownListing;
    if (!listing)
        listing = &ownListing.emplace(path);
    const auto stopRequested = [&list] { return list.IsStopRequested() || CStopRequest::IsRaised(); };
    const std::vector<SListedFile> files = listing->Take(stopRequested);
    int count = 0;
    // A tree has no row limit: room for all its files, as growing past a shorter reservation
    // would hold both arrays of rows at once.
    list.m_items.Preallocate(list.GetItemCount() + int(files.size()));
    for (const SListedFile &file : files) {
        PumpEvery256(count++);
        if (file.strName.isEmpty() || EndsWithBak(file.strName))
            continue;
        if (!list.AddListItem(ListedFileRecord(file), PathIn(file.strFolder, file.strName), 0))
            return;
    }
}

void FlatWalk(CDirItemList &list, const QString &path)
{
    CFindFile search;
    if (!search.FindFile(path))
        return;
    const QString folder = WithSeparator(list.m_strCurrentFolder);
    PreallocateRows(list, search.EntryCount());
    int count = 0;
    QString previousName;
    SFindRecord record;
    while (search.FindNextFile(record)) {
        if (IsDotEntry(record.cFileName))
            continue;
        const QString fullPath = PathIn(folder, record.cFileName);
        const bool skipped = EndsWithBak(fullPath)
            || record.cFileName.compare(u"qcglist.txt"_s, Qt::CaseInsensitive) == 0;
        if (!skipped) {
            if (!list.AddListItem(record, fullPath, 0))
                break;
            if (++count > kFlatWalkRowLimit || record.cFileName == previousName)
                break;
            previousName = record.cFileName;
        }
        PumpEvery256(count);
    }
}

} // namespace

std::vector<SListedFile> ListFolderTree(const QString &folder, const std::atomic<bool> *stop)
{
    std::vector<SListedFile> files;
    QSet<QString> visited;
    ListOneFolder(folder, files, visited, stop);
    return files;
}

void DirectoryItemInfo(CDirItemList &list, const QString &path, CTreeListing *listing)
{
    WriteLog(Progress, u"LIST, DirectoryItemInfo\r\n");
    // A listing already begun decides: the window may have changed the flag meanwhile.
    if (listing || list.m_nIncludeSubfolders)
        RecursiveWalk(list, path, listing);
    else
        FlatWalk(list, path);
}

void DirectoryItemInfoJUKE(CDirItemList &list, const QString &path)
{
    WriteLog(Progress, u"LIST, DirectoryItemInfoJUKE\r\n");
    QString searchFolder = WithSeparator(path);
    QString rowFolder = list.m_strCurrentFolder;
    const QString songs = ResolveNameNoCase(searchFolder, u"_Songs"_s);
    if (!songs.isEmpty()) {
        const QString songsName = songs.mid(searchFolder.size());
        searchFolder = WithSeparator(songs);
        rowFolder = WithSeparator(rowFolder) + songsName;
    }
    CFindFile search;
    if (!search.FindFile(searchFolder))
        return;
    rowFolder = WithSeparator(rowFolder);
    PreallocateRows(list, search.EntryCount());
    int count = 0;
    SFindRecord record;
    while (search.FindNextFile(record)) {
        if (record.cFileName == u"."_s)
            continue;
        const QString fullPath = PathIn(rowFolder, record.cFileName);
        const bool skipped = EndsWithBak(fullPath)
            || record.cFileName.compare(u"juke.txt"_s, Qt::CaseInsensitive) == 0;
        if (!skipped) {
            if (!list.AddListItem(record, fullPath, 0))
                break;
            ++count;
        }
        PumpEvery256(count);
    }
}

} // namespace velmora
