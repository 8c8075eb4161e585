#pragma once

#include <QStringList>

namespace velmora {

// "velmora undo MANIFEST": puts the files of a quarantine back where they were. Returns 0
// when every file is back, 1 when some could not be put back (each is named on stderr),
// 2 for a usage error or a manifest that cannot be read.
int RunUndoCommand(const QStringList &arguments);

} // namespace velmora
