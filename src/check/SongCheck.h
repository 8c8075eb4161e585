#pragma once

#include <QString>

namespace velmora {

class CDirItemList;

// The song check of a folder: jukebox layouts are recognised, the files of each song are
// merged into one row, and every song's tags and playing time are read.
void SongCheck(CDirItemList &list, const QString &path);

} // namespace velmora
