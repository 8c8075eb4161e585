#include "playlist/RevItemList.h"

#include "base/Format.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kMaxCellText = 259;

int ByteSlot(const _ITEMINFO &row, int slot)
{
    return qint8(quint8(row.anSettings[size_t(slot)] & 0xFF));
}

int WordSlot(const _ITEMINFO &row, int slot)
{
    return qint16(row.anSettings[size_t(slot)]);
}

QString Number(int value)
{
    return QString::number(value);
}

QString AutoOrNumber(int value)
{
    return value == 0 ? u"Auto"_s : Number(value);
}

QString OffOrNumber(int value)
{
    return value == 0 ? u"Off"_s : Number(value);
}

QString VocalText(int value)
{
    switch (value) {
    case 0: return u"Stereo"_s;
    case 1: return u"Left"_s;
    case 2: return u"Right"_s;
    default: return {};
    }
}

QString SilenceText(int value)
{
    return value < -5 || value > 5 ? u"Off"_s : Number(value);
}

QString NonZero(int value)
{
    return value == 0 ? QString() : Number(value);
}

QString DurationCell(int seconds)
{
    return seconds == 0 ? QString() : Format(u"%d:%02d", seconds / 60, seconds % 60);
}

QString CellOf(const _ITEMINFO &row, int column)
{
    switch (column) {
    case 1: return row.szIndex;
    case 2: return row.szTitle;
    case 3: return row.szArtist;
    case 4: return row.szAlbum;
    case 5: return NonZero(row.nTrack);
    case 6: return row.szGenre;
    case 7: return NonZero(row.nYear);
    case 8: return row.szMemo;
    case 9: return AutoOrNumber(ByteSlot(row, 0));
    case 10: return Number(ByteSlot(row, 1));
    case 11: return AutoOrNumber(ByteSlot(row, 2));
    case 12: return VocalText(ByteSlot(row, 3));
    case 13: return Number(ByteSlot(row, 4));
    case 14: return SilenceText(ByteSlot(row, 5));
    case 15: return OffOrNumber(WordSlot(row, 6));
    case 16: return OffOrNumber(WordSlot(row, 7));
    case 17: return DurationCell(row.nDuration);
    case 18: return row.szFileName;
    case 19: return row.szType;
    default: return {};
    }
}

} // namespace

QString CRevItemList::GetCellText(int row, int column) const
{
    if (row < 0 || row >= GetItemCount())
        return {};
    return CellOf(m_rows[row], column).left(kMaxCellText);
}

} // namespace velmora
