#include "check/DirListTexts.h"

#include "check/DirItemList.h"
#include "inspect/FileList.h"

namespace velmora::dirlist {

using namespace Qt::Literals::StringLiterals;

namespace {

QString DurationText(int seconds)
{
    if (seconds == 0)
        return {};
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

QString RawCellText(const _ITEMINFO &item, int column)
{
    switch (column) {
    case 0: return item.FirstFileName();
    case 1: return item.szType;
    case 2: return item.szTitle;
    case 3: return item.szArtist;
    case 4: return item.szAlbum;
    case 5: return DurationText(item.nDuration);
    case 6: return item.szResult;
    default: return {};
    }
}

QString WithoutTrailingDotsAndSeparators(QString path)
{
    while (!path.isEmpty() && (path.endsWith(u'/') || path.endsWith(u'.')))
        path.chop(1);
    return path;
}

} // namespace

QString CellText(const _ITEMINFO &item, int column)
{
    return RawCellText(item, column).left(kTextLimit);
}

quint32 TextColour(const _ITEMINFO &item)
{
    if ((item.dwFlags & ITEM_COLOURED) == 0)
        return kGrey;
    switch (item.MarkClass()) {
    case 1: return kBlue;
    case 2: return kAzure;
    case 3: return kRed;
    default: return kBlack;
    }
}

ECheckBox CheckBox(const _ITEMINFO &item)
{
    if (item.MarkClass() == 0)
        return ECheckBox::None;
    return item.IsChecked() ? ECheckBox::Ticked : ECheckBox::Empty;
}

QString ToolTip(const _ITEMINFO &item)
{
    return item.szFileName.Text().left(kToolTipLimit);
}

QString FolderToOpen(const _ITEMINFO &item)
{
    if (!item.IsFolder())
        return {};
    const QString path = item.FullPath();
    if (item.szFileName.Text() != u".."_s)
        return path;
    const QString folder = WithoutTrailingDotsAndSeparators(path);
    const qsizetype cut = folder.lastIndexOf(u'/');
    if (cut < 0)
        return {};
    return cut == 0 ? u"/"_s : folder.left(cut);
}

QStringList RowFiles(const _ITEMINFO &item)
{
    return item.FilePaths();
}

bool ToggleCheck(CDirItemList &list, int row)
{
    if (row < 0 || row >= list.GetItemCount() || list.Item(row).MarkClass() == 0)
        return false;
    list.Item(row).dwFlags ^= ITEM_CHECKED;
    list.RedrawRow(row);
    return true;
}

void SetAllChecks(CDirItemList &list, bool checked)
{
    for (int row = 0; row < list.GetItemCount(); ++row) {
        _ITEMINFO &item = list.Item(row);
        if (item.MarkClass() == 0 || item.IsChecked() == checked)
            continue;
        item.dwFlags ^= ITEM_CHECKED;
        list.RedrawRow(row);
    }
}

} // namespace velmora::dirlist
