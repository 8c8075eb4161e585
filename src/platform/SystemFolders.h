#pragma once

#include <QString>

namespace velmora {

// The system's temporary folder, ending in "/".
QString SystemTempFolder();
// The user's documents folder, created when missing; empty when it cannot be found or made.
QString DocumentsFolder();
// The folder that holds the running executable, without a trailing separator.
QString ExecutableFolder();

} // namespace velmora
