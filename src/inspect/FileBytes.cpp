#include "inspect/FileBytes.h"

#include "platform/OpenFile.h"

#include <QFile>

namespace velmora {

std::optional<QByteArray> ReadWholeFile(const QString &path, qint64 maxSize)
{
    const auto file = OpenFileForRead(path);
    if (!file || maxSize < 0 || file->size() > maxSize)
        return std::nullopt;
    // The size is asked again through the read: a file that grew meanwhile is refused too.
    QByteArray bytes = file->read(maxSize + 1);
    if (bytes.size() > maxSize)
        return std::nullopt;
    return bytes;
}

std::optional<SFileEnds> ReadFileEnds(const QString &path, qint64 headSize, qint64 tailSize)
{
    const auto file = OpenFileForRead(path);
    if (!file)
        return std::nullopt;
    SFileEnds ends;
    ends.nSize = file->size();
    ends.head = file->read(std::min(headSize, ends.nSize));
    const qint64 tailLength = std::min(tailSize, ends.nSize);
    if (!file->seek(ends.nSize - tailLength))
        return std::nullopt;
    ends.tail = file->read(tailLength);
    return ends;
}

qint64 FileSizeOf(const QString &path)
{
    const auto file = OpenFileForRead(path);
    return file ? file->size() : -1;
}

} // namespace velmora
