#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::test {

// A folder on a file system other than the temporary folder's: a small tmpfs of its own
// where the sandbox lets us mount one (then it can also run full), else /dev/shm when it is
// another device. Empty when neither can be had.
class CSecondFileSystem
{
public:
    // readOnly mounts it read-only and never falls back to /dev/shm.
    explicit CSecondFileSystem(const char *size = "1m", bool readOnly = false)
    {
        if (m_mountPoint.isValid()
            && ::mount("tmpfs", QFile::encodeName(m_mountPoint.path()).constData(), "tmpfs",
                       readOnly ? MS_RDONLY : 0, (QByteArray("size=") + size).constData()) == 0) {
            m_bMounted = true;
            m_strFolder = m_mountPoint.path();
            return;
        }
        if (readOnly)
            return;
        struct stat shm {};
        struct stat temp {};
        if (::stat("/dev/shm", &shm) == 0 && ::stat(QFile::encodeName(QDir::tempPath()).constData(), &temp) == 0
            && shm.st_dev != temp.st_dev && ::access("/dev/shm", W_OK) == 0) {
            m_shm = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/velmora-XXXXXX"));
            if (m_shm->isValid())
                m_strFolder = m_shm->path();
        }
    }
    ~CSecondFileSystem()
    {
        if (m_bMounted)
            ::umount2(QFile::encodeName(m_mountPoint.path()).constData(), MNT_DETACH);
    }
    CSecondFileSystem(const CSecondFileSystem &) = delete;
    CSecondFileSystem &operator=(const CSecondFileSystem &) = delete;

    QString Folder() const { return m_strFolder; }
    // Only a mount of our own has the small size that lets a disk fill up.
    bool IsSizeLimited() const { return m_bMounted; }

private:
    QTemporaryDir m_mountPoint;
    std::unique_ptr<QTemporaryDir> m_shm;
    QString m_strFolder;
    bool m_bMounted = false;
};

} // namespace velmora::test
