#pragma once

#include "platform/FileSystem.h"

#include <QMap>
#include <QString>
#include <cerrno>

namespace velmora::test {

// The local file system with faults on demand: the folder under secondRoot plays another
// file system (its device differs, renames across it fail with EXDEV), writes into it can be
// limited to a number of bytes (then ENOSPC, as a full disk), and single calls can fail.
class CFileSystemDouble final : public IFileSystem
{
public:
    QString secondRoot;
    qint64 nSecondRootSpace = -1; // bytes that may still be written there; -1 unlimited
    int nRemoveError = 0;         // Remove fails with this for paths outside secondRoot
    int nSyncError = 0;           // Sync of a written file fails with this
    int nSecondRootWriteError = 0; // creating or renaming into secondRoot fails with this
    int nWrites = 0;
    int nRenames = 0;

    int Status(const QString &path, bool followLinks, SNodeStatus *status) override
    {
        const int error = Local().Status(path, followLinks, status);
        if (error == 0 && status && IsSecond(path))
            status->nDevice ^= 0x5EC0;
        return error;
    }
    int Rename(const QString &from, const QString &to, bool replace) override
    {
        ++nRenames;
        if (IsSecond(from) != IsSecond(to))
            return EXDEV;
        if (nSecondRootWriteError != 0 && IsSecond(to))
            return nSecondRootWriteError;
        return Local().Rename(from, to, replace);
    }
    int Remove(const QString &path) override
    {
        if (nRemoveError != 0 && !IsSecond(path))
            return nRemoveError;
        SNodeStatus status;
        const bool refund = IsSecond(path) && nSecondRootSpace >= 0 && Local().Status(path, false, &status) == 0;
        const int error = Local().Remove(path);
        if (error == 0 && refund)
            nSecondRootSpace += qint64(status.nSize); // a removed file gives its room back
        return error;
    }
    int CheckFolderWritable(const QString &folder) override
    {
        if (nRemoveError != 0 && !IsSecond(folder))
            return 0; // the removal itself fails later, as a sticky folder would do
        if (nSecondRootWriteError != 0 && IsSecond(folder))
            return nSecondRootWriteError;
        return Local().CheckFolderWritable(folder);
    }
    int OpenRead(const QString &path, int *handle) override { return Local().OpenRead(path, handle); }
    int CreateNew(const QString &path, quint32 mode, int *handle) override
    {
        if (nSecondRootWriteError != 0 && IsSecond(path))
            return nSecondRootWriteError;
        const int error = Local().CreateNew(path, mode, handle);
        if (error == 0 && IsSecond(path))
            m_secondHandles[*handle] = true;
        return error;
    }
    int Read(int handle, char *buffer, qint64 size, qint64 *done) override
    {
        return Local().Read(handle, buffer, size, done);
    }
    int Write(int handle, const char *data, qint64 size, qint64 *done) override
    {
        ++nWrites;
        if (m_secondHandles.value(handle) && nSecondRootSpace >= 0) {
            if (nSecondRootSpace == 0)
                return ENOSPC;
            size = qMin(size, nSecondRootSpace); // a partial write, as a filling disk gives
            const int error = Local().Write(handle, data, size, done);
            nSecondRootSpace -= error == 0 ? *done : 0;
            return error;
        }
        return Local().Write(handle, data, size, done);
    }
    int SetTimes(int handle, const SNodeStatus &status) override { return Local().SetTimes(handle, status); }
    int Sync(int handle) override { return nSyncError != 0 ? nSyncError : Local().Sync(handle); }
    int Close(int handle) override
    {
        m_secondHandles.remove(handle);
        return Local().Close(handle);
    }
    int SyncFolder(const QString &folder) override { return Local().SyncFolder(folder); }

private:
    static IFileSystem &Local() { return LocalFileSystem(); }
    bool IsSecond(const QString &path) const
    {
        return !secondRoot.isEmpty() && (path == secondRoot || path.startsWith(secondRoot + u'/'));
    }
    QMap<int, bool> m_secondHandles;
};

} // namespace velmora::test
