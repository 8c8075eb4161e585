#pragma once

#include "playlist/DriveMap.h"

#include <QString>

namespace velmora {

// The folder an "scdg" song's cvmd0001.dat is looked for in: the song's folder, or
// KLOV_MCG on the disc when the folder's drive is an optical one.
QString ScdgFolder(const CDriveMap &drives, const QString &folder);

} // namespace velmora
