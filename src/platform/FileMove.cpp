#include "platform/FileMove.h"

#include "platform/FileSystem.h"
#include "platform/NativeName.h"

#include <QCryptographicHash>
#include <cerrno>
#include <cstring>
#include <vector>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qint64 kCopyBlock = 256 * 1024;
constexpr qsizetype kMaxNameBytes = 255;

SMoveResult Failure(const QString &reason)
{
    SMoveResult result;
    result.strReason = reason;
    return result;
}

SMoveResult Failure(int error)
{
    return Failure(MoveErrorText(error));
}

QString FolderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return u"."_s;
    return slash == 0 ? u"/"_s : path.left(slash);
}

QString NameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// A name whose units cannot be turned back into the same bytes would reach another file.
bool SurvivesEncoding(const QString &path)
{
    return DecodeNativeName(EncodeNativeName(path)) == path;
}

class CHandle
{
public:
    CHandle(IFileSystem &fileSystem, int handle) : m_fileSystem(fileSystem), m_handle(handle) {}
    ~CHandle()
    {
        if (m_handle >= 0)
            m_fileSystem.Close(m_handle);
    }
    CHandle(const CHandle &) = delete;
    CHandle &operator=(const CHandle &) = delete;
    int Get() const { return m_handle; }
    int Close()
    {
        const int handle = m_handle;
        m_handle = -1;
        return m_fileSystem.Close(handle);
    }

private:
    IFileSystem &m_fileSystem;
    int m_handle;
};

// Writes all of data; a short write without an error counts as a full disk.
int WriteAll(IFileSystem &fileSystem, int handle, const char *data, qint64 size)
{
    while (size > 0) {
        qint64 done = 0;
        if (const int error = fileSystem.Write(handle, data, size, &done))
            return error;
        if (done <= 0)
            return ENOSPC;
        data += done;
        size -= done;
    }
    return 0;
}

// Copies source into a new file at temporary with the source's times and makes it durable.
// The source's size guards against a source that shrank or grew while it was read.
int CopyToNewFile(IFileSystem &fileSystem, const QString &source, const QString &temporary,
                  const SNodeStatus &sourceStatus)
{
    int in = -1;
    if (const int error = fileSystem.OpenRead(source, &in))
        return error;
    CHandle input(fileSystem, in);
    int out = -1;
    if (const int error = fileSystem.CreateNew(temporary, sourceStatus.nMode, &out))
        return error;
    CHandle output(fileSystem, out);
    std::vector<char> buffer(static_cast<size_t>(kCopyBlock));
    quint64 copied = 0;
    for (;;) {
        qint64 done = 0;
        if (const int error = fileSystem.Read(input.Get(), buffer.data(), kCopyBlock, &done))
            return error;
        if (done == 0)
            break;
        if (const int error = WriteAll(fileSystem, output.Get(), buffer.data(), done))
            return error;
        copied += quint64(done);
    }
    if (copied != sourceStatus.nSize)
        return EAGAIN;
    // A move within one file system keeps the times; so does this one.
    if (const int error = fileSystem.SetTimes(output.Get(), sourceStatus))
        return error;
    if (const int error = fileSystem.Sync(output.Get()))
        return error;
    return output.Close();
}

SMoveResult CopyAcross(IFileSystem &fileSystem, const QString &source, const QString &target, bool replace,
                       const SNodeStatus &sourceStatus)
{
    const QString targetFolder = FolderOf(target);
    // Refuse early what would leave the file in both places.
    if (const int error = fileSystem.CheckFolderWritable(FolderOf(source)))
        return Failure(u"source cannot be removed: "_s + MoveErrorText(error));
    const QString temporary = MoveTemporaryPath(target);
    if (fileSystem.Status(temporary, false, nullptr) == 0) {
        if (const int error = fileSystem.Remove(temporary))
            return Failure(u"cannot replace the temporary file: "_s + MoveErrorText(error));
    }
    if (const int error = CopyToNewFile(fileSystem, source, temporary, sourceStatus)) {
        fileSystem.Remove(temporary);
        if (error == EAGAIN)
            return Failure(u"source changed while it was copied"_s);
        return Failure(error);
    }
    if (const int error = fileSystem.Rename(temporary, target, replace)) {
        fileSystem.Remove(temporary);
        return Failure(error == EEXIST ? u"target exists"_s : MoveErrorText(error));
    }
    fileSystem.SyncFolder(targetFolder);
    SMoveResult result;
    result.bCopied = true;
    if (const int error = fileSystem.Remove(source)) {
        result.outcome = EMoveOutcome::SourceKept;
        result.strReason = u"copied, but the source cannot be removed: "_s + MoveErrorText(error);
        return result;
    }
    fileSystem.SyncFolder(FolderOf(source));
    result.outcome = EMoveOutcome::Moved;
    return result;
}

} // namespace

QString MoveErrorText(int error)
{
    switch (error) {
    case ENOENT: return u"file not found"_s;
    case EACCES:
    case EPERM: return u"permission denied"_s;
    case EROFS: return u"read-only file system"_s;
    case ENOSPC:
    case EDQUOT: return u"no space left on device"_s;
    case ENAMETOOLONG: return u"file name too long"_s;
    case EISDIR: return u"target is a folder"_s;
    case ENOTDIR: return u"a part of the path is not a folder"_s;
    case EEXIST:
    case ENOTEMPTY: return u"target exists"_s;
    case EBUSY:
    case ETXTBSY: return u"file is in use"_s;
    case EIO: return u"input/output error"_s;
    case ELOOP: return u"too many symbolic links"_s;
    default: return QString::fromLocal8Bit(std::strerror(error)).toLower();
    }
}

QString MoveTemporaryPath(const QString &target)
{
    const QString folder = FolderOf(target);
    const QString name = NameOf(target);
    QString temporary = u"."_s + name + u".velmora-part"_s;
    if (EncodeNativeName(temporary).size() > kMaxNameBytes) {
        const QByteArray digest = QCryptographicHash::hash(EncodeNativeName(name), QCryptographicHash::Sha1);
        temporary = u".velmora-"_s + QString::fromLatin1(digest.toHex().left(16)) + u".part"_s;
    }
    return folder == u"/"_s ? u"/"_s + temporary : folder + u'/' + temporary;
}

bool IsSameFile(IFileSystem &fileSystem, const QString &first, const QString &second)
{
    SNodeStatus a;
    SNodeStatus b;
    if (fileSystem.Status(first, true, &a) != 0 || fileSystem.Status(second, true, &b) != 0)
        return false;
    return a.nDevice == b.nDevice && a.nInode == b.nInode;
}

SMoveResult MoveFileTo(IFileSystem &fileSystem, const QString &source, const QString &target, bool replace)
{
    if (!SurvivesEncoding(source) || !SurvivesEncoding(target))
        return Failure(u"name cannot be written on this system"_s);
    if (NameOf(target).isEmpty() || NameOf(target) == u"."_s || NameOf(target) == u".."_s)
        return Failure(u"invalid target name"_s);
    SNodeStatus sourceStatus;
    if (const int error = fileSystem.Status(source, true, &sourceStatus))
        return Failure(error == ENOENT ? u"source file not found"_s : MoveErrorText(error));
    if (!sourceStatus.bRegular)
        return Failure(u"source is not a file"_s);
    SNodeStatus folderStatus;
    if (const int error = fileSystem.Status(FolderOf(target), true, &folderStatus))
        return Failure(u"target folder: "_s + MoveErrorText(error));
    if (!folderStatus.bFolder)
        return Failure(u"target folder is not a folder"_s);

    SNodeStatus targetStatus;
    const bool targetExists = fileSystem.Status(target, false, &targetStatus) == 0;
    if (targetExists) {
        if (IsSameFile(fileSystem, source, target))
            return Failure(u"source and target are the same file"_s);
        if (targetStatus.bFolder)
            return Failure(u"target is a folder"_s);
        if (!replace)
            return Failure(u"target exists"_s);
    }

    const int error = fileSystem.Rename(source, target, replace);
    if (error == 0) {
        fileSystem.SyncFolder(FolderOf(target));
        SMoveResult result;
        result.outcome = EMoveOutcome::Moved;
        return result;
    }
    if (error != EXDEV)
        return Failure(error);
    return CopyAcross(fileSystem, source, target, replace, sourceStatus);
}

} // namespace velmora
