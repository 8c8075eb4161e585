#include "check/SongFolders.h"

namespace velmora {

// The numbered folder layout is recognised, but its song lists are not read yet: no rows.
void ListSongFolders(CDirItemList &, const QString &)
{
}

} // namespace velmora
