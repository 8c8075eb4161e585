#include "platform/SequentialFile.h"

#include "platform/NativeName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

CSequentialFile::~CSequentialFile()
{
    Close();
}

int CSequentialFile::Open(const QString &path)
{
    Close();
    if (path.isEmpty())
        return ENOENT;
    // O_NONBLOCK keeps a pipe without a writer from holding the check; it is dropped again
    // once the file is known to be a regular one.
    const int fd = ::open(EncodeNativeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISREG(info.st_mode) ? errno : EINVAL;
        ::close(fd);
        return error;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_fd = fd;
    m_size = qint64(info.st_size);
    return 0;
}

qint64 CSequentialFile::Read(char *buffer, qint64 size)
{
    if (m_fd < 0 || size < 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(m_fd, buffer + done, size_t(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

void CSequentialFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

} // namespace velmora
