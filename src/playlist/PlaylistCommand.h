#pragma once

#include <QString>

namespace velmora {

class CRevItemList;

// The Playlist command's work once a file was chosen: loads it into the grid (emptied
// first) and writes one "CHECK, MediaFileStatus" line per row saying whether its media
// file was found. The window and the command line both run it.
void LoadPlaylistAndCheckFiles(CRevItemList &grid, const QString &path);

} // namespace velmora
