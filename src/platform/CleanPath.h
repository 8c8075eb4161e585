#pragma once

#include <QString>

namespace velmora {

// An absolute path written the plain way: no "." steps, no doubled or trailing separators,
// and ".." steps taken out where that names the same place. When a ".." follows a symbolic
// link (where going up on disk differs from dropping the step), the real path of the whole
// is returned instead; the original when even that cannot be had.
QString CleanAbsolutePath(const QString &path);
// A path given on a command line made absolute (against the current folder, read as bytes)
// and clean.
QString AbsoluteCleanPath(const QString &path);

} // namespace velmora
