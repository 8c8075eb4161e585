#include "platform/FolderCreate.h"

#include "platform/NativeName.h"

#include <cerrno>
#include <sys/stat.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// 0 when path is a real folder, ENOENT when nothing is there, else why it cannot be used.
int FolderState(const QByteArray &path)
{
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0)
        return errno;
    if (S_ISLNK(info.st_mode))
        return ELOOP;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

} // namespace

int MakeRealFoldersBelow(const QString &base, const QStringList &parts)
{
    QString path = base;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    if (const int error = FolderState(EncodeNativeName(path)))
        return error;
    for (const QString &part : parts) {
        if (part.isEmpty() || part == u"."_s || part == u".."_s || part.contains(u'/'))
            return EINVAL;
        path += (path.endsWith(u'/') ? QString() : u"/"_s) + part;
        const QByteArray native = EncodeNativeName(path);
        int state = FolderState(native);
        if (state == ENOENT) {
            if (::mkdir(native.constData(), 0777) != 0 && errno != EEXIST)
                return errno;
            // Another process may have put something else there in between: look again.
            state = FolderState(native);
        }
        if (state != 0)
            return state;
    }
    return 0;
}

} // namespace velmora
