#pragma once

#include <QString>

namespace velmora {

// Finds the entry of folder whose name equals name without regard to case, as the fixed
// names of the jukebox layouts (juke.txt, _Songs, ZR000000) are meant on a copy from a
// Windows machine. Returns the full path of the entry (an exact match wins), or an empty
// text when there is none.
QString ResolveNameNoCase(const QString &folder, const QString &name);

} // namespace velmora
