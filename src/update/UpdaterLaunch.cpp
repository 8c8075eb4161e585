#include "update/UpdaterLaunch.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString UpdaterVerb(const QString &programFolder)
{
    return QFileInfo(programFolder).isWritable() ? u"open"_s : u"runas"_s;
}

void StartUpdater(const QString &verb, const QString &updater, const QStringList &arguments)
{
    QFile::setPermissions(updater, QFile::permissions(updater) | QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    const QString pkexec = verb == u"runas"_s ? QStandardPaths::findExecutable(u"pkexec"_s) : QString();
    if (pkexec.isEmpty())
        QProcess::startDetached(updater, arguments);
    else
        QProcess::startDetached(pkexec, QStringList{updater} + arguments);
}

} // namespace velmora
