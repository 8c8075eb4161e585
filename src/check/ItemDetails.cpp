#include "check/ItemDetails.h"

#include "base/ItemInfo.h"
#include "inspect/MediaAnalysis.h"
#include "inspect/TextNumbers.h"

namespace velmora {

void ApplyAnalysisResult(_ITEMINFO &item, const QStringList &result)
{
    if (result.isEmpty())
        return;
    item.nDuration = LeadingInteger(result.at(SlotDuration));
    if (result.size() < kFullAnalysisSlots)
        return;
    item.szTitle = result.at(SlotTitle);
    item.szArtist = result.at(SlotArtist);
    item.szAlbum = result.at(SlotAlbum);
    item.nYear = LeadingInteger(result.at(SlotYear));
    item.nTrack = LeadingInteger(result.at(SlotTrack));
    item.szGenre = result.at(SlotGenre);
    item.dwFlags |= ITEM_DETAILS_LOADED;
}

} // namespace velmora
