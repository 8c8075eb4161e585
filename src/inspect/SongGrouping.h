#pragma once

#include "base/ItemArray.h"
#include "base/ItemInfo.h"

#include <QString>
#include <QStringList>

namespace velmora {

// Merges the files of one song that follow items[first] in directory order: returns how
// many following items joined it, with all member names in fileList (graphics first, then
// audio, then the rest). 0 and an empty fileList when no song was formed.
int GroupSongFiles(const CArray<_ITEMINFO> &items, int first, QStringList &members);
// The same with the names joined by ";", as the list shows them.
int GroupSongFiles(const CArray<_ITEMINFO> &items, int first, QString &fileList);

} // namespace velmora
