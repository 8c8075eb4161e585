#include "platform/OpenFile.h"

#include "platform/NativeName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::unique_ptr<QFile> OpenFileForRead(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    const int fd = ::open(EncodeNativeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

std::unique_ptr<QFile> OpenFileForWrite(const QString &path, bool create, bool truncate, bool readToo)
{
    if (path.isEmpty())
        return nullptr;
    const int flags = (readToo ? O_RDWR : O_WRONLY) | O_CLOEXEC | (create ? O_CREAT : 0) | (truncate ? O_TRUNC : 0);
    const int fd = ::open(EncodeNativeName(path).constData(), flags, 0644);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    const QIODevice::OpenMode mode = (readToo ? QIODevice::ReadWrite : QIODevice::WriteOnly) | QIODevice::Unbuffered;
    if (!file->open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

} // namespace velmora
