#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

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

    bool SameFileAs(const SFileKey &other) const
    {
        return nativePath == other.nativePath && nSize == other.nSize && nModifiedNs == other.nModifiedNs
            && nChangedNs == other.nChangedNs && nInode == other.nInode && nMode == other.nMode;
    }
};

// The key of a regular file (links followed, as the readers open them); nullopt for
// anything else, whose results are never kept.
std::optional<SFileKey> ReadFileKey(const QString &path);
// After a file was read: whether it is still the file of key and readable, so that what
// was read can be kept under key (a file written to meanwhile is read again next time).
bool StillSameReadableFile(const SFileKey &key);

// A result to keep once the check has taken it.
struct SKeptResult
{
    SFileKey key;
    QByteArray value;
};

} // namespace velmora
