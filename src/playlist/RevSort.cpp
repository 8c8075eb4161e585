#include "playlist/RevItemList.h"

#include "check/SafeSort.h"
#include "playlist/RevListObserver.h"

namespace velmora {

namespace {

bool IsSortColumn(int column)
{
    return (column >= 1 && column <= 9) || column == kRevFileNameColumn;
}

QStringView WithoutMark(const QString &text)
{
    QStringView view(text);
    if (view.startsWith(QChar(0xFEFF)))
        view = view.sliced(1);
    return view;
}

const QString &SortText(const _ITEMINFO &row, int column)
{
    switch (column) {
    case 1: return row.szIndex;
    case 2: return row.szTitle;
    case 3: return row.szArtist;
    case 4: return row.szAlbum;
    case 6: return row.szGenre;
    case 8: return row.szMemo;
    default: return row.szFileName;
    }
}

int Compare(const _ITEMINFO &a, const _ITEMINFO &b, int column)
{
    switch (column) {
    case 5: return a.nTrack < b.nTrack ? -1 : a.nTrack > b.nTrack;
    case 7: return a.nYear < b.nYear ? -1 : a.nYear > b.nYear;
    case kRevFoundColumn: {
        const int fa = (a.dwFlags & REV_FOUND) ? 1 : 0;
        const int fb = (b.dwFlags & REV_FOUND) ? 1 : 0;
        return fa - fb;
    }
    default:
        return WithoutMark(SortText(a, column)).compare(WithoutMark(SortText(b, column)), Qt::CaseInsensitive);
    }
}

} // namespace

void CRevItemList::SortByColumn(int column)
{
    if (!IsSortColumn(column) || IsLoading())
        return;
    const bool sameColumn = column == m_nSortColumn;
    m_bSortAscending = sameColumn ? !m_bSortAscending : true;
    m_nSortColumn = column;
    // Every row's found state is part of what is sorted (and drawn), so it is settled first.
    for (int i = 0; i < GetItemCount(); ++i)
        GetRow(i);
    const int sign = m_bSortAscending ? 1 : -1;
    const std::vector<int> order = SortedPositions(GetItemCount(), [this, column, sign](int a, int b) {
        return sign * Compare(m_rows[a], m_rows[b], column) < 0;
    });
    if (m_observer)
        m_observer->OnRowsAboutToReset();
    CArray<_ITEMINFO> sorted;
    sorted.Preallocate(GetItemCount());
    for (const int position : order)
        sorted.Add(std::move(m_rows[position]));
    m_rows = std::move(sorted);
    if (!m_songNumbers.isEmpty()) {
        QStringList numbers;
        numbers.reserve(m_songNumbers.size());
        for (const int position : order)
            numbers.append(m_songNumbers.value(position));
        m_songNumbers = numbers;
    }
    if (m_observer) {
        m_observer->OnRowsReset();
        m_observer->OnSortChanged(column, m_bSortAscending, !sameColumn);
    }
}

} // namespace velmora
