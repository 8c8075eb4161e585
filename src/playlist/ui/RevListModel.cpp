#include "playlist/ui/RevListModel.h"

#include "playlist/RevItemList.h"
#include "widgets/MimeTypeSource.h"
#include "widgets/ui/ReadableColours.h"

namespace velmora {

namespace {

Qt::Alignment AlignmentOf(EColumnAlign align)
{
    switch (align) {
    case EColumnAlign::Left: return Qt::AlignLeft | Qt::AlignVCenter;
    case EColumnAlign::Centre: return Qt::AlignCenter;
    case EColumnAlign::Right: break;
    }
    return Qt::AlignRight | Qt::AlignVCenter;
}

// COLORREF values 0x00BBGGRR of the stripes and texts.
QColor FromColorRef(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

} // namespace

CRevListModel::CRevListModel(CRevItemList &grid, QObject *parent)
    : QAbstractTableModel(parent)
    , m_grid(grid)
    , m_nRows(grid.GetItemCount())
{
}

int CRevListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_nRows;
}

int CRevListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kRevColumnCount;
}

QColor CRevListModel::RowBackground(int row)
{
    return FromColorRef(row % 2 == 0 ? 0xF9F7F0 : 0xEFE8E5);
}

QColor CRevListModel::RowText(bool found)
{
    return FromColorRef(found ? 0x000000 : 0x808080);
}

QIcon CRevListModel::FileIcon(int iconIndex) const
{
    auto it = m_icons.constFind(iconIndex);
    if (it == m_icons.constEnd())
        it = m_icons.insert(iconIndex, QIcon::fromTheme(CMimeTypeSource::IconNames().value(iconIndex)));
    return *it;
}

QVariant CRevListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_grid.GetItemCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_grid.GetCellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(AlignmentOf(RevColumn(index.column()).align));
    case Qt::BackgroundRole:
        return RowBackground(index.row());
    case Qt::ForegroundRole: {
        // Drawing a row settles its found check.
        const _ITEMINFO *row = m_grid.GetRow(index.row());
        return ReadableOn(RowText(row && (row->dwFlags & REV_FOUND)), RowBackground(index.row()));
    }
    case Qt::DecorationRole:
        if (index.column() == kRevFileNameColumn)
            return FileIcon(m_grid.RowAt(index.row()).nIcon);
        return {};
    default:
        return {};
    }
}

QVariant CRevListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kRevColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(RevColumn(section).szHeader);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignmentOf(RevColumn(section).align));
    return {};
}

void CRevListModel::AboutToReset()
{
    beginResetModel();
}

void CRevListModel::Reset()
{
    m_nRows = m_grid.GetItemCount();
    endResetModel();
}

void CRevListModel::AboutToAppend(int first, int last)
{
    beginInsertRows({}, first, last);
    m_nAppendTo = last + 1;
}

void CRevListModel::Appended()
{
    m_nRows = m_nAppendTo;
    endInsertRows();
}

void CRevListModel::Changed(int first, int last)
{
    if (m_nRows > 0 && last >= first)
        emit dataChanged(index(std::max(first, 0), 0), index(std::min(last, m_nRows - 1), kRevColumnCount - 1));
}

} // namespace velmora
