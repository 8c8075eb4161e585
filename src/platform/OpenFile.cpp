#include "platform/OpenFile.h"

#include "platform/NativeName.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

// Opening a named pipe waits for its other end, and opening a device can act on it: what is
// known not to be a regular file is never opened, the open never waits, and only a regular
// file is kept (then read normally).
int OpenRegularFile(const QString &path, int flags, mode_t mode)
{
    if (path.isEmpty())
        return -1;
    const QByteArray name = EncodeNativeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return -1;
    const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    const int status = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || status < 0
        || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

std::unique_ptr<QFile> OpenFileForRead(const QString &path)
{
    const int fd = OpenRegularFile(path, O_RDONLY, 0);
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

std::unique_ptr<QFile> OpenFileForWrite(const QString &path, bool create, bool truncate, bool readToo)
{
    const int flags = (readToo ? O_RDWR : O_WRONLY) | (create ? O_CREAT : 0) | (truncate ? O_TRUNC : 0);
    const int fd = OpenRegularFile(path, flags, 0644);
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>();
    const QIODevice::OpenMode mode = (readToo ? QIODevice::ReadWrite : QIODevice::WriteOnly) | QIODevice::Unbuffered;
    if (!file->open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

} // namespace velmora
