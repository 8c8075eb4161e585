#pragma once

#include <QString>
#include <QtGlobal>

namespace velmora {

struct SNodeStatus
{
    bool bFolder = false;
    bool bRegular = false;
    quint64 nDevice = 0;
    quint64 nInode = 0;
    quint32 nMode = 0; // permission bits
    quint64 nSize = 0;
    // Last access and last modification, seconds and nanoseconds since 1970.
    qint64 nAccessSeconds = 0;
    qint64 nAccessNanoseconds = 0;
    qint64 nModifySeconds = 0;
    qint64 nModifyNanoseconds = 0;
};

// The few file-system calls that moving a file needs, by program-side names (NativeName.h).
// Every call returns 0 or an errno value. Tests put a double in its place to play another
// file system, a full disk or a failing call where no spare file system can be mounted.
class IFileSystem
{
public:
    virtual ~IFileSystem() = default;
    // followLinks false describes a symbolic link itself (a dangling one still exists).
    virtual int Status(const QString &path, bool followLinks, SNodeStatus *status) = 0;
    // replace false never replaces an existing target (EEXIST instead).
    virtual int Rename(const QString &from, const QString &to, bool replace) = 0;
    virtual int Remove(const QString &path) = 0;
    // Whether files may be created in and removed from the folder.
    virtual int CheckFolderWritable(const QString &folder) = 0;
    virtual int OpenRead(const QString &path, int *handle) = 0;
    // Creates a new file (never an existing one, never through a link) with the given mode.
    virtual int CreateNew(const QString &path, quint32 mode, int *handle) = 0;
    virtual int Read(int handle, char *buffer, qint64 size, qint64 *done) = 0;
    virtual int Write(int handle, const char *data, qint64 size, qint64 *done) = 0;
    // Gives the open file the access and modification times of status.
    virtual int SetTimes(int handle, const SNodeStatus &status) = 0;
    virtual int Sync(int handle) = 0;
    virtual int Close(int handle) = 0;
    // Makes the folder's entries (a rename, a new name) durable.
    virtual int SyncFolder(const QString &folder) = 0;
};

// The local file system through POSIX calls.
IFileSystem &LocalFileSystem();

} // namespace velmora
