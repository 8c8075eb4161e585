#include "check/SongCheck.h"

#include "base/RunLogs.h"
#include "cache/CacheContext.h"
#include "cache/ResultCache.h"
#include "check/DirItemList.h"
#include "check/DirectoryWalk.h"
#include "check/FileMerge.h"
#include "check/LoadMediaFile.h"
#include "check/ReadAhead.h"
#include "platform/CodePage.h"
#include "check/SongFolders.h"
#include "check/SortOrders.h"
#include "check/TreeListing.h"
#include "platform/FileStatus.h"
#include "platform/NameLookup.h"
#include "playlist/KlovPlaylist.h"

#include <optional>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint64 kSmallestJukeList = 9;

bool HasNumberedSongFolders(const QString &folder)
{
    const QString first = ResolveNameNoCase(folder, u"ZR000000"_s);
    return !first.isEmpty() && !ResolveNameNoCase(first, u"ZR000000.TXT"_s).isEmpty();
}

enum class ESongLayout { NumberedFolders, JukeList, Plain };

// How the folder's songs are laid out; a juke list's songs land in jukeRecords.
ESongLayout SongLayoutOf(const QString &path, QStringList &jukeRecords)
{
    const QString folder = path.endsWith(u'/') ? path : path + u'/';
    if (HasNumberedSongFolders(folder))
        return ESongLayout::NumberedFolders;
    const QString jukeList = ResolveNameNoCase(folder, u"juke.txt"_s);
    SFileStatus status;
    if (!jukeList.isEmpty() && QueryFileStatus(jukeList, &status) && status.nSize >= kSmallestJukeList) {
        ReadKlovPlaylist(jukeList, jukeRecords);
        if (!jukeRecords.isEmpty())
            return ESongLayout::JukeList;
    }
    return ESongLayout::Plain;
}

void WalkSongFolder(CDirItemList &list, const QString &path, ESongLayout layout, CTreeListing *listing)
{
    switch (layout) {
    case ESongLayout::NumberedFolders: ListSongFolders(list, path); break;
    case ESongLayout::JukeList: DirectoryItemInfoJUKE(list, path); break;
    case ESongLayout::Plain: DirectoryItemInfo(list, path, listing); break;
    }
}

// Reads every row's files, ahead on worker threads when the tuning asks for it; rows are
// updated and logged strictly in list order either way.
bool LoadSongRows(CDirItemList &list)
{
    QList<bool> needed;
    needed.reserve(list.GetItemCount());
    for (int j = 0; j < list.GetItemCount(); ++j)
        needed.append(NeedsSongFiles(list.Item(j)));
    AnsiCodePage(); // read the setting once, before any worker needs it
    const CResultCache *cache = list.UsableCache();
    // A worker reads row j's paths itself, so that no list of every row's paths is held:
    // the paths of a row change only when its result is taken, after the worker is done
    // with it (the window may meanwhile tick rows, so their flags are read here first).
    const CDirItemList &rows = list;
    CReadAhead<SSongFileResults> reads(list.GetItemCount(), list.m_tuning.nJobs, [&rows, &needed, cache](int j) {
        return needed.at(j) ? ReadSongFiles(rows.Item(j).FilePaths(), cache) : SSongFileResults();
    });
    for (int j = 0; j < list.GetItemCount(); ++j) {
        if (list.StopBeforeFile(j, list.GetItemCount()))
            return false;
        const SSongFileResults read = reads.Take(j);
        if (list.StopBeforeFile(j, list.GetItemCount()))
            return false;
        LoadMediaFile(list.Item(j), &read);
        list.KeepResults(ECacheKind::SongFile, read.kept);
        list.RedrawRow(j);
    }
    return true;
}

} // namespace

void SongCheck(CDirItemList &list, const QString &path)
{
    if (list.ColumnHeader(2) == u"General"_s)
        list.RenameColumnHeaders(u"Title"_s, u"Artist"_s, u"Album"_s);
    QStringList jukeRecords;
    const ESongLayout layout = SongLayoutOf(path, jukeRecords);
    // The tree is listed while the cache's rows load.
    std::optional<CTreeListing> listing;
    if (layout == ESongLayout::Plain && list.m_nIncludeSubfolders)
        listing.emplace(path);
    if (CResultCache *cache = list.UsableCache()) {
        cache->SetContext(ECacheKind::SongFile, SongFileContext());
        cache->Preload(ECacheKind::SongFile, path);
    }
    WalkSongFolder(list, path, layout, listing ? &*listing : nullptr);

    SortByDirectoryOrder(list);
    WriteLog(Progress, u"LIST, Sort Directroys %d\r\n", list.GetItemCount());
    FileMerge(list);
    list.m_items.FreeExtra(); // the merged songs need fewer rows than the walk's files
    list.ShowAllRows();
    WriteLog(Progress, u"FILE, Item FileMerge %d\r\n", list.GetItemCount());

    list.m_nSortColumn = 0;
    list.m_bSortAscending = 1;
    SortByFileOrder(list);
    WriteLog(Progress, u"LIST, Sort Files %d\r\n", list.GetItemCount());

    if (!jukeRecords.isEmpty()) {
        ApplySongList(list.m_items, jukeRecords);
        jukeRecords.clear();
    }
    const bool finished = LoadSongRows(list);
    list.ShowAllRows();
    if (finished)
        WriteLog(Progress, u"LIST, ListSelectDirectory OK\r\n\r\n");
}

} // namespace velmora
