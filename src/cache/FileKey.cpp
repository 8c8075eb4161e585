#include "cache/FileKey.h"

#include "platform/NativeName.h"

#include <algorithm>

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace velmora {

qint64 Nanoseconds(const timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

qint64 NowNanoseconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

bool HadSettled(qint64 newestChangeNs, qint64 atNs)
{
    return atNs - newestChangeNs >= qint64(kSettledSeconds) * 1000000000;
}

std::optional<SFileKey> ReadFileKey(const QString &path)
{
    SFileKey key;
    key.nativePath = EncodeNativeName(path);
    struct stat info {};
    if (::stat(key.nativePath.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    key.nSize = qint64(info.st_size);
    key.nModifiedNs = Nanoseconds(info.st_mtim);
    key.nChangedNs = Nanoseconds(info.st_ctim);
    key.nInode = quint64(info.st_ino);
    key.nMode = quint32(info.st_mode);
    key.nReadAtNs = NowNanoseconds();
    return key;
}

bool StillSameReadableFile(const SFileKey &key)
{
    if (!HadSettled(std::max(key.nChangedNs, key.nModifiedNs), key.nReadAtNs))
        return false;
    // What a file this process cannot read gave is no result of its bytes.
    if (::access(key.nativePath.constData(), R_OK) != 0)
        return false;
    const std::optional<SFileKey> now = ReadFileKey(DecodeNativeName(key.nativePath));
    return now && now->SameFileAs(key);
}

} // namespace velmora
