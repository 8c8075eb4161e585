#pragma once

#include "platform/FileTime.h"

#include <QString>

namespace velmora {

struct SFileStatus
{
    bool bFolder = false;
    // A plain file with bytes to read; pipes, sockets and devices are neither this nor a
    // folder, and are never opened (reading one could wait forever).
    bool bRegular = false;
    quint64 nSize = 0;
    SFileTime ftCreationTime;
    SFileTime ftLastAccessTime;
    SFileTime ftLastWriteTime;
};

// The file status query: true when the path names an existing file or folder.
bool QueryFileStatus(const QString &path, SFileStatus *status = nullptr);
// The same for a name in an open folder, which spares a directory walk re-encoding and
// re-resolving the folder's path for every entry.
bool QueryFileStatusAt(int folderFd, const char *nativeName, SFileStatus *status);
// True when the path names a regular file (links followed): the only kind ever opened.
bool QueryRegularFile(const QString &path);

} // namespace velmora
