#include "platform/FileStatus.h"

#include "platform/NativeName.h"

#include <sys/stat.h>

namespace velmora {

namespace {

void FillStatus(const struct stat &info, SFileStatus *status)
{
    if (status) {
        status->bFolder = S_ISDIR(info.st_mode);
        status->bRegular = S_ISREG(info.st_mode);
        status->nSize = S_ISDIR(info.st_mode) ? 0 : quint64(info.st_size);
        // Linux keeps no creation time in struct stat; the status-change time stands in.
        status->ftCreationTime = SFileTime::FromUnix(info.st_ctim.tv_sec, info.st_ctim.tv_nsec);
        status->ftLastAccessTime = SFileTime::FromUnix(info.st_atim.tv_sec, info.st_atim.tv_nsec);
        status->ftLastWriteTime = SFileTime::FromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    }
}

} // namespace

bool QueryFileStatus(const QString &path, SFileStatus *status)
{
    if (path.isEmpty())
        return false;
    struct stat info {};
    if (::stat(EncodeNativeName(path).constData(), &info) != 0)
        return false;
    FillStatus(info, status);
    return true;
}

bool QueryFileStatusAt(int folderFd, const char *nativeName, SFileStatus *status)
{
    struct stat info {};
    if (::fstatat(folderFd, nativeName, &info, 0) != 0)
        return false;
    FillStatus(info, status);
    return true;
}

bool QueryRegularFile(const QString &path)
{
    SFileStatus status;
    return QueryFileStatus(path, &status) && status.bRegular;
}

} // namespace velmora
