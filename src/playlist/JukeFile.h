#pragma once

#include <QString>

namespace velmora {

class CRevItemList;

// Appends the songs of a text playlist to the grid through its juke cache file: eight
// fields a line for a playlist with a mark (the grid's playlist encoding not 0), five
// otherwise. The rows' found checks are left pending. Always true.
bool LoadJukeFile(CRevItemList &grid, const QString &path);

} // namespace velmora
