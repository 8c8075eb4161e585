#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The zip branch of the per-file analysis. A karaoke package below 64 MiB with fewer than
// 16 entries has its MP3 members unpacked in memory and read like MP3 files; the last one
// read gives the result. When the in-process reader finds the package corrupt, or packed by
// a method it does not read (Deflate64, bzip2), the unzip tool reads it instead. True when an MP3 member was analysed; otherwise false with an
// empty result.
bool ReadZipPackageTags(const QString &path, QStringList &result);

} // namespace velmora
