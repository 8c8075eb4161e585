#include "inspect/ZipAnalysis.h"

namespace velmora {

// Packages are not opened yet: the archive reader arrives separately.
bool ReadZipPackageTags(const QString &, QStringList &result)
{
    result.clear();
    return false;
}

} // namespace velmora
