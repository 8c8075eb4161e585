#pragma once

#include <QStringList>

namespace velmora {

// Whether the arguments ask for the command-line form (a subcommand, --version, --help or
// another option) rather than the window.
bool IsCommandLineForm(const QStringList &arguments);

// Runs the command-line form and returns the exit status (2 for a usage error).
int RunCommandLine(const QStringList &arguments);

// Prints the usage text on stderr (after a usage error of either form).
void PrintUsageError();

} // namespace velmora
