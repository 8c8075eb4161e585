#pragma once

#include <QString>
#include <vector>

namespace velmora {

class CDirItemList;

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
// files of the whole tree (no folder rows).
void DirectoryItemInfo(CDirItemList &list, const QString &path);
// The walk of a folder that has a juke list: its "_Songs" subfolder when there is one.
void DirectoryItemInfoJUKE(CDirItemList &list, const QString &path);

// Files of a folder first, then of each subfolder, depth first, in directory order.
// Folders reached twice (through links) are listed once.
std::vector<SListedFile> ListFolderTree(const QString &folder);

} // namespace velmora
