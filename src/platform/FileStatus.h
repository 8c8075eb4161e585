#pragma once

#include "platform/FileTime.h"

#include <QString>

namespace velmora {

struct SFileStatus
{
    bool bFolder = false;
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

} // namespace velmora
