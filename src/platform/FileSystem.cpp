#include "platform/FileSystem.h"

#include "platform/NativeName.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

int LastError()
{
    return errno != 0 ? errno : EIO;
}

// Retries a call that a signal interrupted.
template <typename Call>
auto Retrying(Call call)
{
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR)
            return result;
    }
}

class CLocalFileSystem final : public IFileSystem
{
public:
    int Status(const QString &path, bool followLinks, SNodeStatus *status) override
    {
        struct stat info {};
        const QByteArray name = EncodeNativeName(path);
        const int result = followLinks ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info);
        if (result != 0)
            return LastError();
        if (status) {
            status->bFolder = S_ISDIR(info.st_mode);
            status->bRegular = S_ISREG(info.st_mode);
            status->nDevice = quint64(info.st_dev);
            status->nInode = quint64(info.st_ino);
            status->nMode = quint32(info.st_mode & 07777);
            status->nSize = S_ISREG(info.st_mode) ? quint64(info.st_size) : 0;
            status->nAccessSeconds = qint64(info.st_atim.tv_sec);
            status->nAccessNanoseconds = qint64(info.st_atim.tv_nsec);
            status->nModifySeconds = qint64(info.st_mtim.tv_sec);
            status->nModifyNanoseconds = qint64(info.st_mtim.tv_nsec);
        }
        return 0;
    }

    int Rename(const QString &from, const QString &to, bool replace) override
    {
        const QByteArray source = EncodeNativeName(from);
        const QByteArray target = EncodeNativeName(to);
        if (replace)
            return ::rename(source.constData(), target.constData()) == 0 ? 0 : LastError();
        if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
            return 0;
        const int error = LastError();
        if (error != EINVAL && error != ENOSYS)
            return error;
        // A file system without the no-replace rename: a hard link never replaces either.
        if (::link(source.constData(), target.constData()) == 0)
            return ::unlink(source.constData()) == 0 ? 0 : LastError();
        const int linkError = LastError();
        if (linkError != EPERM && linkError != EOPNOTSUPP)
            return linkError;
        // Nor hard links (FAT): look, then rename; only a racing writer could slip in between.
        struct stat info {};
        if (::lstat(target.constData(), &info) == 0)
            return EEXIST;
        return ::rename(source.constData(), target.constData()) == 0 ? 0 : LastError();
    }

    int Remove(const QString &path) override
    {
        return ::unlink(EncodeNativeName(path).constData()) == 0 ? 0 : LastError();
    }

    int CheckFolderWritable(const QString &folder) override
    {
        return ::access(EncodeNativeName(folder).constData(), W_OK | X_OK) == 0 ? 0 : LastError();
    }

    int OpenRead(const QString &path, int *handle) override
    {
        // A pipe or device put in the file's place must not make the copy wait: the open never
        // blocks, and only a regular file is read.
        const QByteArray name = EncodeNativeName(path);
        const int fd = Retrying([&] { return ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); });
        if (fd < 0)
            return LastError();
        struct stat info {};
        const int flags = ::fcntl(fd, F_GETFL);
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0
            || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            ::close(fd);
            return EINVAL;
        }
        *handle = fd;
        return 0;
    }

    int CreateNew(const QString &path, quint32 mode, int *handle) override
    {
        const QByteArray name = EncodeNativeName(path);
        const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
        const int fd = Retrying([&] { return ::open(name.constData(), flags, mode_t(mode & 07777)); });
        if (fd < 0)
            return LastError();
        *handle = fd;
        return 0;
    }

    int Read(int handle, char *buffer, qint64 size, qint64 *done) override
    {
        const ssize_t count = Retrying([&] { return ::read(handle, buffer, size_t(size)); });
        if (count < 0)
            return LastError();
        *done = count;
        return 0;
    }

    int Write(int handle, const char *data, qint64 size, qint64 *done) override
    {
        const ssize_t count = Retrying([&] { return ::write(handle, data, size_t(size)); });
        if (count < 0)
            return LastError();
        *done = count;
        return 0;
    }

    int SetTimes(int handle, const SNodeStatus &status) override
    {
        const timespec times[2] = {{time_t(status.nAccessSeconds), long(status.nAccessNanoseconds)},
                                   {time_t(status.nModifySeconds), long(status.nModifyNanoseconds)}};
        return ::futimens(handle, times) == 0 ? 0 : LastError();
    }

    int Sync(int handle) override
    {
        return Retrying([&] { return ::fsync(handle); }) == 0 ? 0 : LastError();
    }

    int Close(int handle) override
    {
        // Linux releases the descriptor even when close reports an error; never retry it.
        return ::close(handle) == 0 ? 0 : LastError();
    }

    int SyncFolder(const QString &folder) override
    {
        const int fd = ::open(EncodeNativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return LastError();
        const int result = Retrying([&] { return ::fsync(fd); }) == 0 ? 0 : LastError();
        ::close(fd);
        return result;
    }
};

} // namespace

IFileSystem &LocalFileSystem()
{
    static CLocalFileSystem fileSystem;
    return fileSystem;
}

} // namespace velmora
