#include "samplegen/SampleFiles.h"

#include "samplegen/SampleLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace velmora::samplegen {

bool FailSampleWrite(QString *error, const QString &what, const QString &path, const QString &reason)
{
    if (error)
        *error = u"cannot %1 %2: %3"_s.arg(what, QDir::toNativeSeparators(path), reason);
    return false;
}

bool MakeSampleFolder(const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        return FailSampleWrite(error, u"create folder"_s, path, u"a file of that name is in the way"_s);
    if (!QDir().mkpath(path))
        return FailSampleWrite(error, u"create folder"_s, path, u"permission denied or invalid path"_s);
    return true;
}

bool WriteSampleFile(const QString &path, const QByteArray &content, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return FailSampleWrite(error, u"write"_s, path, file.errorString());
    // Flushed before the time is set: data still buffered at close would move it again.
    if (file.write(content) != content.size() || !file.flush())
        return FailSampleWrite(error, u"write"_s, path, file.errorString());
    if (!file.setFileTime(SampleFileTime(), QFileDevice::FileModificationTime))
        return FailSampleWrite(error, u"set the time of"_s, path, file.errorString());
    file.close();
    return true;
}

// Folders cannot be opened as QFile, so their time goes through the system call.
bool SetSampleFolderTime(const QString &path, QString *error)
{
#ifdef Q_OS_UNIX
    const timespec stamp{time_t(SampleFileTime().toSecsSinceEpoch()), 0};
    const timespec times[2] = {stamp, stamp};
    if (utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0)
        return FailSampleWrite(error, u"set the time of"_s, path, qt_error_string(errno));
#else
    Q_UNUSED(path);
    Q_UNUSED(error);
#endif
    return true;
}

} // namespace velmora::samplegen
