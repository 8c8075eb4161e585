#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include <time.h>

namespace velmora {

// What says that a file is the one whose results were kept: its path (as the bytes on disk),
// size, modification time, inode, and also its change time and mode, which move when the
// bytes are put back under an old modification time or the file's permissions change.
struct SFileKey
{
    QByteArray nativePath;
    qint64 nSize = 0;
    qint64 nModifiedNs = 0;
    qint64 nChangedNs = 0;
    quint64 nInode = 0;
    quint32 nMode = 0;
    qint64 nReadAtNs = 0; // when the key was read (not part of it)

    bool SameFileAs(const SFileKey &other) const
    {
        return nativePath == other.nativePath && nSize == other.nSize && nModifiedNs == other.nModifiedNs
            && nChangedNs == other.nChangedNs && nInode == other.nInode && nMode == other.nMode;
    }
};

// The key of a regular file (links followed, as the readers open them); nullopt for
// anything else, whose results are never kept.
std::optional<SFileKey> ReadFileKey(const QString &path);
// After a file was read: whether what was read can be kept under key. It must still be the
// file of key, readable, and not have changed in the last kSettledSeconds before the key
// was read: the file system stamps times in steps, so a file written again within one
// step of the key keeps the key with other bytes; such a file is simply read next time.
constexpr int kSettledSeconds = 2;
bool StillSameReadableFile(const SFileKey &key);

// File system and clock times in nanoseconds since 1970.
qint64 Nanoseconds(const timespec &time);
qint64 NowNanoseconds();
// Whether something last changed at newestChangeNs had settled by atNs (kSettledSeconds).
bool HadSettled(qint64 newestChangeNs, qint64 atNs);

// A result to keep once the check has taken it.
struct SKeptResult
{
    SFileKey key;
    QByteArray value;
};

} // namespace velmora
