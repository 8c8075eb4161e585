#include "playlist/KlovPlaylist.h"

namespace velmora {

// The text playlist reader is not written yet: no song lines are read and none applied.
bool ReadKlovPlaylist(const QString &, QStringList &lines)
{
    lines.clear();
    return false;
}

void ApplySongList(CArray<_ITEMINFO> &, QStringList &lines)
{
    lines.clear();
}

} // namespace velmora
