#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// Makes sure base/parts[0]/parts[1]/... exists as real folders, creating the missing ones.
// base must be a folder; no part may be a symbolic link (one could lead out of base) nor
// "." or "..". Returns 0, or an errno value (ELOOP for a link, ENOTDIR for a file in the
// way, EINVAL for a bad part).
int MakeRealFoldersBelow(const QString &base, const QStringList &parts);

} // namespace velmora
