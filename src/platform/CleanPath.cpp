#include "platform/CleanPath.h"

#include "platform/NativeName.h"

#include <QStringList>
#include <climits>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

bool IsSymbolicLink(const QString &path)
{
    struct stat info {};
    return ::lstat(EncodeNativeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

QString RealPath(const QString &path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(EncodeNativeName(path).constData(), nullptr),
                                                           &std::free);
    return real ? DecodeNativeName(QByteArrayView(real.get())) : path;
}

QString Joined(const QStringList &steps)
{
    return u'/' + steps.join(u'/');
}

} // namespace

QString CleanAbsolutePath(const QString &path)
{
    if (!path.startsWith(u'/'))
        return path;
    QStringList steps;
    for (const QString &step : path.split(u'/', Qt::SkipEmptyParts)) {
        if (step == u".")
            continue;
        if (step != u"..") {
            steps.append(step);
            continue;
        }
        if (!steps.isEmpty() && IsSymbolicLink(Joined(steps)))
            return RealPath(path);
        if (!steps.isEmpty())
            steps.removeLast();
    }
    return Joined(steps);
}

QString AbsoluteCleanPath(const QString &path)
{
    if (path.startsWith(u'/'))
        return CleanAbsolutePath(path);
    const std::unique_ptr<char, decltype(&std::free)> current(::getcwd(nullptr, 0), &std::free);
    if (!current)
        return path;
    return CleanAbsolutePath(DecodeNativeName(QByteArrayView(current.get())) + u'/' + path);
}

} // namespace velmora
