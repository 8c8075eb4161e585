#pragma once

#include <QString>

namespace velmora {

// Stand-in for the shell's "open" verb: hands a file or an address to the desktop's opener
// (xdg-open) without waiting for it. False when a local file does not exist or nothing
// could be started; what the opener does afterwards is not watched.
bool ShellOpen(const QString &target);

// Opens a text file for reading and editing: the desktop's opener, else $VISUAL, else
// $EDITOR. Never waits for the program.
bool OpenInTextViewer(const QString &path);

} // namespace velmora
