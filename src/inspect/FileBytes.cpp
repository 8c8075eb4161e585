#include "inspect/FileBytes.h"

#include "platform/OpenFile.h"

#include <QFile>

#include <algorithm>

namespace velmora {

namespace {
constexpr qint64 kGrowthStep = 64 * 1024;
}

std::optional<QByteArray> ReadWholeFile(const QString &path, qint64 maxSize)
{
    const auto file = OpenFileForRead(path);
    if (!file || maxSize < 0 || file->size() > maxSize)
        return std::nullopt;
    // Only the size the file claims is allocated, not the limit: a read of the limit would
    // reserve (and keep) that much for a file of a few bytes. A file that grew meanwhile is
    // read on in small steps, and refused once it passes the limit.
    QByteArray bytes = file->read(file->size());
    while (bytes.size() <= maxSize) {
        const QByteArray more = file->read(std::min<qint64>(kGrowthStep, maxSize + 1 - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
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
