#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmora::fuzz {

// Writes data to the file name in this process's scratch folder, in memory-backed /dev/shm
// (the temporary folder elsewhere), for readers that only read files. The folder goes at
// exit. Returns the file's path, or an empty text when it cannot be written.
QString WriteScratchFile(const QString &name, QByteArrayView data);

} // namespace velmora::fuzz
