#pragma once

#include <QString>

namespace velmora {

// The juke cache: converted playlists kept as UTF-16 files in the "LoadJuke" work folder,
// named after the CRC-32 of their source, with the number of song lines of each kept in
// the settings section "Juke" under the file's name.

// "%08x.txt" of the source's CRC-32.
QString JukeCacheName(quint32 crc);
// The cache folder in the private work folder, made when missing; empty when refused.
QString JukeCacheFolder();

// The stored line count of a cache file; 0 when none (or nothing usable) is stored.
int StoredJukeCount(const QString &cacheName);
void StoreJukeCount(const QString &cacheName, int count);
void ForgetJukeCount(const QString &cacheName);

} // namespace velmora
