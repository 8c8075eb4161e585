// Karaoke graphics from memory: plain CD+G, the maker's tagged CD+G, MCG, and NCG content.
#include "fuzz/FuzzTargets.h"

#include "inspect/CdgPacket.h"
#include "inspect/CdgReader.h"
#include "legacy/ConvertNCG.h"

#include <algorithm>
#include <vector>

namespace velmora::fuzz {

bool FuzzGraphics(QByteArrayView data)
{
    QByteArray records("left over");
    const bool found = DecodeKaraokeGraphics(data, &records);
    if (!found)
        return records.isEmpty();
    return records.size() % kGraphicsRecordSize == 0 && records.size() <= std::max(data.size(), kNcgWorkBufferSize);
}

// The buffer is an exact heap block, so that a write past its end is caught.
bool FuzzNcg(QByteArrayView data)
{
    const qsizetype room = std::clamp(data.size() - CConvertNCG::kContentOffset, qsizetype(0), kNcgWorkBufferSize);
    for (const qsizetype size : {room, room / 2}) {
        std::vector<char> buffer(static_cast<size_t>(size));
        CConvertNCG converter;
        qsizetype length = -1;
        if (converter.ConvertBytes(data, buffer, length)
            && (length < 0 || length > size || length != data.size() - CConvertNCG::kContentOffset))
            return false;
    }
    return true;
}

} // namespace velmora::fuzz
