// The header and info text of the maker's packaged .pcg and .qcg files.
#include "fuzz/FuzzTargets.h"

#include "inspect/MediaAnalysis.h"
#include "inspect/PackagedHeader.h"

namespace velmora::fuzz {

bool FuzzPackagedHeader(QByteArrayView data)
{
    QStringList result(1);
    const bool found = ReadPackagedHeaderBytes(data, result);
    if (found != (result.size() == kFullAnalysisSlots) || (!found && !result.isEmpty()))
        return false;
    if (found && data.size() < 16)
        return false;
    // The info text is at most 259 bytes, so no value can be longer.
    for (const QString &value : result) {
        if (value.size() > 259)
            return false;
    }
    return true;
}

} // namespace velmora::fuzz
