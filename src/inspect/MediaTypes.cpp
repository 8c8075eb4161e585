#include "inspect/MediaTypes.h"

namespace velmora {

// Classification and grouping arrive with the media-types work; until then nothing is
// known, nothing groups and nothing is recognised.

bool IsKnownMediaFile(const QString &)
{
    return false;
}

int GroupSongFiles(const CArray<_ITEMINFO> &, int, QString &fileList)
{
    fileList.clear();
    return 0;
}

void IdentifyKaraokeFileByExtension(const QString &, QString &, QString &, QString &)
{
}

SKaraokeIdentity IdentifyKaraokeFileByContent(const QString &)
{
    return {};
}

} // namespace velmora
