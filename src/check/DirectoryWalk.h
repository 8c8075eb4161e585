#pragma once

#include <QString>

#include <atomic>
#include <vector>

namespace velmora {

class CDirItemList;
class CTreeListing;

// The flat walk stops after this many rows plus one.
constexpr int kFlatWalkRowLimit = 100000;

// One file found by the recursive listing.
struct SListedFile
{
    QString strName;
    QString strFolder;
    quint64 nSize = 0;
};

// The plain walk: the folder's entries as rows, or with the include-subfolders flag the
// files of the whole tree (no folder rows), taken from listing when the caller started one
// for path.
void DirectoryItemInfo(CDirItemList &list, const QString &path, CTreeListing *listing = nullptr);
// The walk of a folder that has a juke list: its "_Songs" subfolder when there is one.
void DirectoryItemInfoJUKE(CDirItemList &list, const QString &path);

// Files of a folder first, then of each subfolder, depth first, in directory order.
// Folders reached twice (through links) are listed once. Once *stop is set, no further
// folder is listed.
std::vector<SListedFile> ListFolderTree(const QString &folder, const std::atomic<bool> *stop = nullptr);

} // namespace velmora
