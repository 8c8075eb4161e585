#include "inspect/CdgReader.h"

namespace velmora {

// The graphics reader is not written yet: no file is accepted.
bool LoadKaraokeGraphics(const QString &, QByteArray *records)
{
    if (records)
        records->clear();
    return false;
}

} // namespace velmora
