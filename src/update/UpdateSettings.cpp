#include "update/UpdateSettings.h"

#include "platform/Settings.h"
#include "platform/PrivateFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
QString g_runningProgram;
std::optional<QString> g_hostOverride;
}

QString UpdateHost()
{
    if (g_hostOverride)
        return *g_hostOverride;
    return OpenSettings()->value(u"Update/Host"_s).toString().trimmed();
}

void SetUpdateHostOverride(std::optional<QString> host)
{
    g_hostOverride = std::move(host);
}

bool IsPlausibleHost(const QString &host)
{
    static const QRegularExpression pattern(
        u"^(?:[A-Za-z0-9](?:[A-Za-z0-9-]{0,62})(?:\\.[A-Za-z0-9](?:[A-Za-z0-9-]{0,62}))*|\\[[0-9A-Fa-f:.]+\\])(?::[0-9]{1,5})?$"_s);
    return host.size() <= 255 && pattern.match(host).hasMatch();
}

QString UpdateFolder()
{
    return PrivateWorkSubfolder(u"Update_002"_s);
}

QString RunningProgramPath()
{
    if (!g_runningProgram.isEmpty())
        return g_runningProgram;
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFile::symLinkTarget(u"/proc/self/exe"_s);
}

void SetRunningProgramPath(const QString &path)
{
    g_runningProgram = path;
}

QString RunningProgramName()
{
    return QFileInfo(RunningProgramPath()).fileName();
}

bool IsProgramName(const QString &offered, const QString &program)
{
    if (offered.isEmpty() || program.isEmpty())
        return false;
    return offered.compare(program, Qt::CaseInsensitive) == 0
        || offered.compare(program + u".exe"_s, Qt::CaseInsensitive) == 0;
}

} // namespace velmora
