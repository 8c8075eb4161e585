#include "update/UpdateCommands.h"

#include "base/TraceDebug.h"
#include "base/UserManualPath.h"
#include "base/UserPaths.h"
#include "platform/MessagePrompt.h"
#include "update/ServerReachable.h"
#include "update/UpdateRun.h"
#include "update/UpdateSettings.h"
#include "update/UpdateVersion.h"

#include <QStringList>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CUpdateCommands::CUpdateCommands(int updateType) : m_nUpdateType(updateType) {}

int CUpdateCommands::UpdateTypeOf(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument.compare(QStringView(kNoUpdateSwitch), Qt::CaseInsensitive) == 0)
            return 0;
    }
    return 1;
}

QString RunningProgramVersion()
{
    return FileVersionString(RunningProgramPath());
}

bool CUpdateCommands::RunStartupCheck()
{
    TraceDebug(u"strUpdateType = %d, %s\n", m_nUpdateType, kUpdateChannel);
    // No host set means no update traffic at all, not even the ping.
    if (m_nUpdateType != 1 || UpdateHost().isEmpty() || IsServerReachable(0) != 1)
        return false;
    const QString folder = UpdateFolder();
    if (!PrepareUpdateFolder(folder, QString::fromUtf16(kStartupManifest)))
        return false;
    TraceDebug(u"AutoUpdate : Local=%s, Remote=%s, update=%s\n", folder, kUpdateChannel, kStartupManifest);
    return RunDodOdevOdiviz(folder, QString::fromUtf16(kUpdateChannel), QString::fromUtf16(kStartupManifest), 1, 0) == 0;
}

EUpgradeOutcome CUpdateCommands::OnlineUpgrade()
{
    if (!IsOnlineUpgradeEnabled())
        return EUpgradeOutcome::Disabled;
    const QString host = UpdateHost();
    if (host.isEmpty() || IsServerReachable(1) != 1) {
        MessagePrompt().ShowMessage(u"Disconnected."_s);
        return EUpgradeOutcome::Disconnected;
    }
    const QString folder = UpdateFolder();
    if (!PrepareUpdateFolder(folder, QString::fromUtf16(kOnlineManifest))) {
        MessagePrompt().ShowMessage(u"The update could not be downloaded."_s);
        return EUpgradeOutcome::Failed;
    }
    TraceDebug(u"OnHelpUpdateLast(%s)\n", kOnlineManifest);
    const SUpdateRun run = RunUpdate(host, folder, QString::fromUtf16(kUpdateChannel),
                                     QString::fromUtf16(kOnlineManifest), 1, false);
    switch (run.eResult) {
    case EUpdateRun::Started:
        return EUpgradeOutcome::UpdaterStarted;
    case EUpdateRun::Declined:
        // The user just said no; telling them the program is up to date would be false.
        return EUpgradeOutcome::Declined;
    case EUpdateRun::NoUpdater:
        MessagePrompt().ShowMessage(u"The update could not be downloaded."_s);
        return EUpgradeOutcome::Failed;
    case EUpdateRun::NoManifest:
    case EUpdateRun::NoUpdate:
        break;
    }
    MessagePrompt().ShowMessage(u"Program up to date ("_s + RunningProgramVersion() + u')');
    return EUpgradeOutcome::UpToDate;
}

QString CUpdateCommands::UserManualTarget()
{
    const QString host = UpdateHost();
    if (!host.isEmpty() && IsPlausibleHost(host) && IsServerReachable(0) == 1)
        return u"http://"_s + host + u"/help/velmora/userManual.htm"_s;
    return LocalUserManual();
}

} // namespace velmora
