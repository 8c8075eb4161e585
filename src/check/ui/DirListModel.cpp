#include "check/ui/DirListModel.h"

#include "check/DirItemList.h"
#include "check/DirListTexts.h"
#include "check/ui/VerdictCells.h"
#include "verify/VerifyRun.h"
#include "widgets/ui/ColorRef.h"
#include "widgets/ui/FileIcons.h"
#include "widgets/ui/ReadableColours.h"

#include <QApplication>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QUrl>
#include <set>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kColumnWidths[CDirItemList::kColumnCount] = {120, 60, 200, 120, 120, 60, 120};

// The header's check box, drawn by the style in the state shown.
QIcon HeaderCheckIcon(bool checked)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QStyleOptionButton option;
    option.rect = pixmap.rect();
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
    return QIcon(pixmap);
}

// Texts that may be elided in a narrow column can be read whole in their tooltip; Filename
// shows the row's whole file-name list.
QVariant ToolTipOf(const _ITEMINFO &item, int column)
{
    if (column == 0)
        return dirlist::ToolTip(item);
    if (column == 5)
        return {};
    const QString text = dirlist::CellText(item, column);
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

CDirListModel::CDirListModel(CDirItemList &list, QObject *parent)
    : QAbstractTableModel(parent)
    , m_list(list)
{
    m_list.SetObserver(this);
    m_shownRows = m_pendingRows = m_list.GetItemCount();
}

CDirListModel::~CDirListModel()
{
    m_list.SetObserver(nullptr);
}

int CDirListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_shownRows;
}

int CDirListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : CDirItemList::kColumnCount + 1;
}

QVariant CDirListModel::data(const QModelIndex &index, int role) const
{
    // Rows can go between an announcement and the next paint; those are answered empty.
    if (!index.isValid() || index.row() >= m_list.GetItemCount())
        return {};
    const _ITEMINFO &item = m_list.Item(index.row());
    const int column = index.column();
    if (const QVariant verdict = VerdictData(index.row(), column, role); verdict.isValid())
        return verdict;
    switch (role) {
    case Qt::DisplayRole:
        return dirlist::CellText(item, column);
    case Qt::ForegroundRole:
        // The mark colours are the same in every look; the list's background is not.
        return ReadableOn(ColorFromColorRef(dirlist::TextColour(item)), QApplication::palette().color(QPalette::Base));
    case Qt::ToolTipRole:
        return ToolTipOf(item, column);
    case Qt::DecorationRole:
        return column == 0 ? QVariant(FileIcon(item.nIcon)) : QVariant();
    case Qt::CheckStateRole:
        if (column != 0 || !IsTickable(index.row()))
            return {};
        return item.IsChecked() ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool CDirListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != 0 || index.row() >= m_list.GetItemCount())
        return false;
    const bool wanted = value.toInt() == Qt::Checked;
    if (m_list.Item(index.row()).IsChecked() == wanted || !IsTickable(index.row()))
        return false;
    if (m_list.Item(index.row()).MarkClass() != 0)
        return dirlist::ToggleCheck(m_list, index.row());
    m_list.Item(index.row()).dwFlags ^= ITEM_CHECKED;
    m_list.RedrawRow(index.row());
    return true;
}

QVariant CDirListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return section == kVerdictColumn ? QString::fromUtf16(verdictcells::kHeader) : m_list.ColumnHeader(section);
    case Qt::DecorationRole:
        return section == 0 ? QVariant(HeaderCheckIcon(m_bAllChecked)) : QVariant();
    case Qt::TextAlignmentRole:
        return section == 0 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags CDirListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == 0 && index.row() < m_list.GetItemCount() && IsTickable(index.row()))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QStringList CDirListModel::mimeTypes() const
{
    return {u"text/uri-list"_s};
}

// The rows leave as the files they stand for, so that a file manager or another program can
// take them; a song row brings all its files.
QMimeData *CDirListModel::mimeData(const QModelIndexList &indexes) const
{
    std::set<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid() && index.row() < m_list.GetItemCount())
            rows.insert(index.row());
    QList<QUrl> urls;
    for (const int row : rows)
        for (const QString &file : dirlist::RowFiles(m_list.Item(row)))
            urls.append(QUrl::fromLocalFile(file));
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

int CDirListModel::InitialColumnWidth(int column)
{
    return kColumnWidths[std::clamp(column, 0, CDirItemList::kColumnCount - 1)];
}

void CDirListModel::SetVerdicts(const SVerifyReport *report)
{
    m_verdicts = report;
    if (m_shownRows > 0)
        emit dataChanged(index(0, 0), index(m_shownRows - 1, kVerdictColumn));
}

const SSongVerdict *CDirListModel::Verdict(int row) const
{
    if (!m_verdicts || row < 0 || row >= m_verdicts->rows.size())
        return nullptr;
    return &m_verdicts->rows.at(row);
}

bool CDirListModel::HasReasons(int row) const
{
    const SSongVerdict *verdict = Verdict(row);
    return verdict && !verdict->reasons.isEmpty();
}

bool CDirListModel::IsTickable(int row) const
{
    return m_list.Item(row).MarkClass() != 0 || HasReasons(row);
}

// The Verdict column, and the reasons added to the tooltip of every cell of the row; an
// invalid answer leaves the role to the check's own columns.
QVariant CDirListModel::VerdictData(int row, int column, int role) const
{
    const SSongVerdict *verdict = Verdict(row);
    if (column == kVerdictColumn) {
        // A folder is no song: its "ok" would only crowd the column.
        if (!verdict || (m_list.Item(row).IsFolder() && verdict->reasons.isEmpty()))
            return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
        switch (role) {
        case Qt::DisplayRole: return VerdictName(verdict->verdict);
        case Qt::DecorationRole: return verdictcells::Mark(verdict->verdict);
        case Qt::ToolTipRole: return verdict->reasons.isEmpty() ? QVariant() : verdictcells::ReasonsText(*verdict);
        default: return {};
        }
    }
    if (role != Qt::ToolTipRole || !verdict || verdict->reasons.isEmpty())
        return {};
    const QString reasons = verdictcells::ReasonsText(*verdict);
    return column == 0 ? dirlist::ToolTip(m_list.Item(row)) + u'\n' + reasons : reasons;
}

void CDirListModel::ToggleAllChecks()
{
    m_bAllChecked = !m_bAllChecked;
    dirlist::SetAllChecks(m_list, m_bAllChecked);
    // Rows a verification found a reason in are ticked with the marked ones.
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        _ITEMINFO &item = m_list.Item(row);
        if (item.MarkClass() == 0 && HasReasons(row) && item.IsChecked() != m_bAllChecked) {
            item.dwFlags ^= ITEM_CHECKED;
            m_list.RedrawRow(row);
        }
    }
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void CDirListModel::ShowPendingChanges()
{
    m_bShowScheduled = false;
    ShowRowCount();
    ShowRedrawnRows();
}

void CDirListModel::ShowRowCount()
{
    const int wanted = std::min(m_pendingRows, m_list.GetItemCount());
    if (wanted > m_shownRows) {
        beginInsertRows({}, m_shownRows, wanted - 1);
        m_shownRows = wanted;
        endInsertRows();
    } else if (wanted < m_shownRows) {
        beginRemoveRows({}, wanted, m_shownRows - 1);
        m_shownRows = wanted;
        endRemoveRows();
    }
}

void CDirListModel::ShowRedrawnRows()
{
    const int first = m_redrawFirst;
    const int last = std::min(m_redrawLast, m_shownRows - 1);
    m_redrawFirst = m_redrawLast = -1;
    if (first >= 0 && first <= last)
        emit dataChanged(index(first, 0), index(last, kVerdictColumn));
}

void CDirListModel::ScheduleShow()
{
    if (m_bShowScheduled)
        return;
    m_bShowScheduled = true;
    QMetaObject::invokeMethod(this, &CDirListModel::ShowPendingChanges, Qt::QueuedConnection);
}

void CDirListModel::OnListCleared()
{
    beginResetModel();
    m_shownRows = m_pendingRows = 0;
    m_redrawFirst = m_redrawLast = -1;
    endResetModel();
}

void CDirListModel::OnRowAdded(int row, int count)
{
    Q_UNUSED(row);
    m_pendingRows = count;
    ScheduleShow();
}

void CDirListModel::OnItemCountSet(int count)
{
    m_pendingRows = count;
    ScheduleShow();
}

void CDirListModel::OnRowsRedrawn(int first, int last)
{
    if (first > last || last < 0)
        return;
    first = std::max(first, 0);
    m_redrawFirst = m_redrawFirst < 0 ? first : std::min(m_redrawFirst, first);
    m_redrawLast = std::max(m_redrawLast, last);
    ScheduleShow();
}

void CDirListModel::OnColumnHeadersRenamed()
{
    emit headerDataChanged(Qt::Horizontal, 2, 4);
}

void CDirListModel::OnColumnAutoSized(int column)
{
    ShowPendingChanges();
    emit ColumnAutoSizeRequested(column);
}

void CDirListModel::OnBusyChanged(bool busy)
{
    if (!busy)
        ShowPendingChanges();
    emit BusyChanged(busy);
}

void CDirListModel::OnProgress(int done, int total)
{
    emit ProgressChanged(done, total);
}

} // namespace velmora
