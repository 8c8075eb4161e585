#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The non-empty names of a ";"-joined file-name list, in order.
int SplitFileList(const QString &list, QStringList &names);
// Drive and folder of a path, ending in "/", doubled separators collapsed to one.
QString FolderOf(const QString &path);
// A copy fit for a run-log line: every "%" replaced by "?".
QString LogSafePath(const QString &path);

} // namespace velmora
