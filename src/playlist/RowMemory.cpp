#include "playlist/RowMemory.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr qint64 kStringHeader = 16;
constexpr qint64 kAllocatorHeader = 8;
constexpr qint64 kAllocatorStep = 16;
constexpr qint64 kSmallestBlock = 32;

qint64 BlockBytes(qint64 units)
{
    const qint64 request = kStringHeader + 2 * (units + 1) + kAllocatorHeader;
    return std::max(kSmallestBlock, (request + kAllocatorStep - 1) / kAllocatorStep * kAllocatorStep);
}

} // namespace

qint64 TextHeapBytes(qsizetype units)
{
    return units > 0 ? BlockBytes(units) : 0;
}

qint64 TextHeapBytes(const QString &text)
{
    // Texts that only point at fixed data (literals) have no block and a capacity of 0.
    return TextHeapBytes(text.data_ptr().constAllocatedCapacity());
}

qint64 RowHeapBytes(const _ITEMINFO &row)
{
    qint64 bytes = qint64(sizeof(_ITEMINFO));
    for (const QString *text : {&row.szFileName.Text(), &row.szPath.Text(), &row.szType.Text(),
                                &row.szArtist.Text(), &row.szTitle.Text(), &row.szAlbum.Text(),
                                &row.szGenre.Text(), &row.szIndex.Text(), &row.szMemo.Text(),
                                &row.szResult.Text()})
        bytes += TextHeapBytes(*text);
    return bytes;
}

} // namespace velmora
