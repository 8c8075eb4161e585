#include "playlist/RevItemList.h"
#include "playlist/RevListObserver.h"

namespace velmora {

namespace {

constexpr int kTitleColumn = 2;
constexpr int kArtistColumn = 3;
constexpr int kAlbumColumn = 4;
constexpr int kGenreColumn = 6;
constexpr int kMemoColumn = 8;
constexpr int kCustomerColumn = 19;

} // namespace

bool CRevItemList::IsEditableColumn(int column)
{
    switch (column) {
    case kTitleColumn:
    case kArtistColumn:
    case kAlbumColumn:
    case kGenreColumn:
    case kMemoColumn:
    case kCustomerColumn:
        return true;
    default:
        return false;
    }
}

bool CRevItemList::SetCellText(int row, int column, const QString &text)
{
    if (m_bLoading || row < 0 || row >= GetItemCount() || !IsEditableColumn(column))
        return false;
    _ITEMINFO &item = m_rows[row];
    switch (column) {
    case kTitleColumn: item.szTitle = text; break;
    case kArtistColumn: item.szArtist = text; break;
    case kAlbumColumn: item.szAlbum = text; break;
    case kGenreColumn: item.szGenre = text; break;
    case kMemoColumn: item.szMemo = text; break;
    default: item.szType = text; break;
    }
    if (m_observer)
        m_observer->OnRowsChanged(row, row);
    return true;
}

} // namespace velmora
