#pragma once

#include <QStringList>

namespace velmora {

// "velmora playlist ...": loads a .txt or .mpl playlist as the grid does and prints its
// rows. Returns 0 when every file was found, 1 when some is missing or the playlist cannot
// be used, 2 for a usage error.
int RunPlaylistCommand(const QStringList &arguments);

} // namespace velmora
