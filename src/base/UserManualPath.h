#pragma once

#include <QString>

namespace velmora {

// The user manual on this machine: userManual.pdf in the program folder (where the build
// puts it), else the HTML form there, else either form in share/doc/velmora beside the
// program's bin folder (where it is installed). When none exists, the PDF's place in the
// program folder, so that the caller's "not found" names where it was looked for.
QString LocalUserManual();

} // namespace velmora
