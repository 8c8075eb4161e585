#pragma once

#include <QStringList>

namespace velmora {

// The window form of the program: "velmora [-iDodOdevOdiviz] [FOLDER]". Returns the exit
// status; 2 when there is no display or FOLDER is not a folder.
int RunWindowApplication(int argc, char **argv, const QStringList &arguments);

// The desktop's general font, two sizes larger, for every window of the program.
void ApplyApplicationFont();
// The program's icon in every size it is drawn in; the desktop matches the window to the
// menu entry by the desktop file's name. The icons are resources of the program.
void ApplyApplicationIcon();

} // namespace velmora
