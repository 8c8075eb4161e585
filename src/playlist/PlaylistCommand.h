#pragma once

#include <QString>
#include <functional>

namespace velmora {

class CRevItemList;

// The Playlist command's work once a file was chosen: loads it into the grid (emptied
// first) and writes one "CHECK, MediaFileStatus" line per row saying whether its media
// file was found. The window and the command line both run it.
// beforeRow, when given, hears of each row before its file is looked for (rows done so
// far, of all); answering false stops there with a line that says so. Returns the number
// of rows whose file was looked for.
using RowCheckGate = std::function<bool(int done, int total)>;
int LoadPlaylistAndCheckFiles(CRevItemList &grid, const QString &path, const RowCheckGate &beforeRow = {});

} // namespace velmora
