#pragma once

#include <QString>

namespace velmora {

// Where an outside tool is run from: the program folder when the tool is there, otherwise
// the first match on PATH. When neither has it, the program-folder path (which a run then
// reports as missing).
QString LocateTool(const QString &programFolder, const QString &name);

} // namespace velmora
