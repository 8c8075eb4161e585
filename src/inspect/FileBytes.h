#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// Size-capped reads of whole files and of their ends. Nothing here allocates more than the
// caller's limit, whatever size the file claims.

// The whole file when it can be opened and holds at most maxSize bytes; nullopt otherwise.
std::optional<QByteArray> ReadWholeFile(const QString &path, qint64 maxSize);

// The first and last bytes of a file of known size.
struct SFileEnds
{
    qint64 nSize = 0;
    QByteArray head;  // the first min(headSize, size) bytes
    QByteArray tail;  // the last min(tailSize, size) bytes
};
std::optional<SFileEnds> ReadFileEnds(const QString &path, qint64 headSize, qint64 tailSize);

// The size of a regular file, or -1 when it cannot be opened.
qint64 FileSizeOf(const QString &path);

} // namespace velmora
