#include "update/ZipOutputFile.h"

#include "platform/NativeName.h"
#include "platform/PrivateFolder.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr qint64 kSecondsFrom1601To1970 = 11644473600LL;
constexpr quint64 kTicksPerSecond = 10000000ULL;

bool MakeFolder(const QString &path, bool mayBeLink)
{
    const QByteArray native = EncodeNativeName(path);
    struct stat info {};
    const int found = mayBeLink ? ::stat(native.constData(), &info) : ::lstat(native.constData(), &info);
    if (found == 0)
        return S_ISDIR(info.st_mode);
    return errno == ENOENT && ::mkdir(native.constData(), 0755) == 0;
}

// The root is the caller's choice, so links on the way to it are followed.
bool MakeRoot(const QString &root)
{
    QString path;
    for (const QString &step : root.split(u'/', Qt::SkipEmptyParts)) {
        path += u'/' + step;
        if (!MakeFolder(root.startsWith(u'/') ? path : path.mid(1), true))
            return false;
    }
    return true;
}

timespec ToTimespec(const SFileTime &time)
{
    const quint64 ticks = time.Ticks();
    timespec result{};
    result.tv_sec = time_t(qint64(ticks / kTicksPerSecond) - kSecondsFrom1601To1970);
    result.tv_nsec = long((ticks % kTicksPerSecond) * 100);
    return result;
}

} // namespace

bool MakeFoldersBelow(const QString &root, const QStringList &parts)
{
    if (!MakeRoot(root))
        return false;
    QString path = root.endsWith(u'/') ? root.chopped(1) : root;
    for (const QString &part : parts) {
        path += u'/' + part;
        if (!MakeFolder(path, false))
            return false;
    }
    return true;
}

std::unique_ptr<QFile> CreateOutputFile(const QString &path)
{
    return CreateFreshFile(path, 0644);
}

void FinishOutputFile(QFile &file, const SZipEntry &item)
{
    if (item.ftLastWriteTime.Ticks() != 0) {
        timespec times[2] = {ToTimespec(item.ftLastAccessTime), ToTimespec(item.ftLastWriteTime)};
        if (item.ftLastAccessTime.Ticks() == 0)
            times[0].tv_nsec = UTIME_OMIT;
        ::futimens(file.handle(), times);
    }
    if (item.dwAttributes & ZIP_ATTR_READONLY)
        ::fchmod(file.handle(), 0444);
}

void RemoveOutputFile(const QString &path)
{
    ::unlink(EncodeNativeName(path).constData());
}

} // namespace velmora
