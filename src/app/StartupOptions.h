#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// What the window form of the command line asks for.
struct SStartupOptions
{
    int nUpdateType = 1;              // 0 after "-iDodOdevOdiviz": no update check at start-up
    QString strUpdateChannel = QStringLiteral("update");
    QString strFolder;                // a folder checked at once, or a playlist opened in the grid
};

// The switch the updater passes when it restarts the program, compared without case.
bool IsNoUpdateSwitch(const QString &argument);

// arguments are those after the program's own path.
SStartupOptions ReadStartupOptions(const QStringList &arguments);

} // namespace velmora
