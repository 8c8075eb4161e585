#pragma once

#include <QString>

namespace velmora {

// The user data folder ("Velmora" in the user's documents, created when missing) joined
// with name by exactly one separator; without a name, the folder itself. Computed once.
QString UserDataPath(const QString &name = {});
// Puts the user data folder elsewhere (the command line's --data-dir, tests). Empty
// restores the documents location.
void SetUserDataFolder(const QString &folder);

// The folder of the running program, where the outside tools are looked for. Computed
// once; SetProgramFolder replaces it (tests put stand-in tools there).
QString ProgramFolder();
void SetProgramFolder(const QString &folder);

} // namespace velmora
