#pragma once

#include <QString>

namespace velmora {

class CDirItemList;

// The media-details check of a folder: every file is described by the media tool or the
// karaoke readers; files of which nothing can be learnt become problem files.
void MediaDetailsCheck(CDirItemList &list, const QString &path);

} // namespace velmora
