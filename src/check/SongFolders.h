#pragma once

#include <QString>

namespace velmora {

class CDirItemList;

// Walk of the numbered jukebox song folders (ZR000000, ZR001000, ...): one row per listed
// song whose files exist.
void ListSongFolders(CDirItemList &list, const QString &path);

} // namespace velmora
