#pragma once

#include "check/ItemArray.h"
#include "check/ItemInfo.h"

#include <QString>
#include <QStringList>

namespace velmora {

// Reads the song lines of a text playlist or juke.txt list into memory.
bool ReadKlovPlaylist(const QString &sourcePath, QStringList &lines);
// Fills the details of the matching file items from the song lines, which it consumes.
void ApplySongList(CArray<_ITEMINFO> &items, QStringList &lines);

} // namespace velmora
