#include "playlist/RowMemory.h"

#include <algorithm>
#include <array>

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

std::array<const QString *, 10> TextsOf(const _ITEMINFO &row)
{
    return {&row.szFileName.Text(), &row.szPath.Text(),   &row.szType.Text(),  &row.szArtist.Text(),
            &row.szTitle.Text(),    &row.szAlbum.Text(),  &row.szGenre.Text(), &row.szIndex.Text(),
            &row.szMemo.Text(),     &row.szResult.Text()};
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

qint64 RowHeapBytes(const _ITEMINFO &row, const _ITEMINFO *previous)
{
    const std::array<const QString *, 10> texts = TextsOf(row);
    std::array<const QString *, 10> before{};
    if (previous)
        before = TextsOf(*previous);
    qint64 bytes = qint64(sizeof(_ITEMINFO));
    for (size_t i = 0; i < texts.size(); ++i) {
        const bool shared = previous && !texts[i]->isEmpty() && texts[i]->constData() == before[i]->constData();
        if (!shared)
            bytes += TextHeapBytes(*texts[i]);
    }
    return bytes;
}

} // namespace velmora
