#pragma once

#include <QFile>
#include <QString>
#include <memory>

namespace velmora {

// Opens a file for reading by its program-side name, including names that were not valid
// UTF-8 on disk (see NativeName.h); null when it cannot be opened or is not a regular file.
std::unique_ptr<QFile> OpenFileForRead(const QString &path);

// Opens (creating when asked, truncating when asked) a file for writing, by the same names;
// null when it cannot be opened or is not a regular file. readToo also allows reading.
std::unique_ptr<QFile> OpenFileForWrite(const QString &path, bool create, bool truncate, bool readToo = false);

} // namespace velmora
