#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// "open" when programFolder can be written by this user, else "runas": replacing the
// program's files then needs administrator rights.
QString UpdaterVerb(const QString &programFolder);

// Starts the updater detached from this process: "open" runs it directly, "runas" through
// pkexec when pkexec is installed, directly otherwise. The updater is made executable
// first (zip items carry no such bit). Whether it starts is not waited for.
void StartUpdater(const QString &verb, const QString &updater, const QStringList &arguments);

} // namespace velmora
