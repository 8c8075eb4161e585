#pragma once

#include <QStringList>

namespace velmora {

// The window form of the program: "velmora [-iDodOdevOdiviz] [FOLDER]". Returns the exit
// status; 2 when there is no display or FOLDER is not a folder.
int RunWindowApplication(int argc, char **argv, const QStringList &arguments);

} // namespace velmora
