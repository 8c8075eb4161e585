#pragma once

#include <QString>

namespace velmora {

enum class EUpgradeOutcome { Disabled, Disconnected, UpToDate, Declined, UpdaterStarted, Failed };

// The start-up update check and the Help commands Online Upgrade and User Manual.
class CUpdateCommands
{
public:
    explicit CUpdateCommands(int updateType); // 1: start-up check and Online Upgrade allowed, 0: neither
    int UpdateType() const { return m_nUpdateType; }
    bool IsOnlineUpgradeEnabled() const { return m_nUpdateType == 1; }
    // The trace line, then with a host set and reachable: prepare the update folder, check
    // and hand over. True when the updater was started and the program must end before its
    // window opens.
    bool RunStartupCheck();
    // Help > Online Upgrade: "Disconnected.", "Program up to date (1.0.0.15)" or the
    // confirmation through MessagePrompt(); UpdaterStarted means the window closes itself.
    EUpgradeOutcome OnlineUpgrade();
    // Help > User Manual: the online page "/help/velmora/userManual.htm" on the host when one
    // is set and reachable, else the program folder's userManual.pdf.
    QString UserManualTarget();

    // The update type of a command line: 0 when any argument is the no-update switch.
    static int UpdateTypeOf(const QStringList &arguments);

private:
    int m_nUpdateType;
};

// The running program's version as Online Upgrade shows it.
QString RunningProgramVersion();

} // namespace velmora
