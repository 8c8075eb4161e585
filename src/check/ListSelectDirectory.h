#pragma once

#include <QString>

namespace velmora {

class CDirItemList;

// Runs one check of path on list: the media-details check when the list's top-level flag is
// 1, the song check otherwise. An empty path, or a check already running on the list,
// changes nothing.
void ListSelectDirectory(CDirItemList &list, const QString &path);

} // namespace velmora
