#include "check/ui/DirListView.h"

#include "check/DirItemList.h"
#include "check/DirListTexts.h"
#include "check/ui/DirListModel.h"
#include "widgets/ColumnFit.h"
#include "widgets/ui/ColumnContentWidth.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

namespace velmora {

CDirListView::CDirListView(CDirItemList &list, QWidget *parent)
    : QTableView(parent)
    , m_model(new CDirListModel(list, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setContextMenuPolicy(Qt::NoContextMenu);
    setIconSize(QSize(16, 16));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    for (int column = 0; column < CDirItemList::kColumnCount; ++column)
        setColumnWidth(column, CDirListModel::InitialColumnWidth(column));

    setColumnWidth(CDirListModel::kVerdictColumn, 90);
    setColumnHidden(CDirListModel::kVerdictColumn, true);
    // Rows that come in after a filter was set are filtered too.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_bOnlyReasons)
            ApplyReasonFilter();
    });

    connect(this, &QAbstractItemView::doubleClicked, this, &CDirListView::OnDoubleClicked);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == 0)
            m_model->ToggleAllChecks();
    });
    connect(m_model, &CDirListModel::ColumnAutoSizeRequested, this, &CDirListView::ScheduleFit);
    connect(m_model, &CDirListModel::BusyChanged, this, [this](bool busy) {
        if (!busy)
            FitColumns();
    });
}

CDirItemList &CDirListView::List()
{
    return m_model->List();
}

namespace {

// Below this a shrunk column shows too little of its text to be told apart.
constexpr int kShrunkColumnFloor = 80;

// General, Video and Audio (or Title, Artist and Album) give way first, Filename after them.
int GiveWayRank(int column)
{
    if (column >= 2 && column <= 4)
        return 1;
    return column == 0 ? 2 : 0;
}

} // namespace

// A check asks for its columns to be sized three at a time, twice over, and each fit
// measures every column over up to a thousand rows: measuring once per turn cost the
// song check of an unchanged library half of its time in the window.
void CDirListView::ScheduleFit()
{
    if (m_bFitScheduled)
        return;
    m_bFitScheduled = true;
    QTimer::singleShot(0, this, [this] {
        if (m_bFitScheduled)
            FitColumns();
    });
}

void CDirListView::FitColumns()
{
    m_bFitScheduled = false;
    // Without rows the original's widths hold, widened where a header needs more.
    if (m_model->rowCount() == 0) {
        for (int column = 0; column < CDirItemList::kColumnCount; ++column)
            setColumnWidth(column, std::max(CDirListModel::InitialColumnWidth(column),
                                            horizontalHeader()->sectionSizeHint(column)));
        return;
    }
    // The Verdict column, when shown, is kept in view as Result is.
    const int columns = m_model->columnCount();
    std::vector<int> wanted;
    std::vector<int> giveWay;
    for (int column = 0; column < columns; ++column) {
        wanted.push_back(isColumnHidden(column) ? 0 : ColumnContentWidth(*this, column));
        giveWay.push_back(GiveWayRank(column));
    }
    const std::vector<int> widths = FitColumnsIntoWidth(wanted, giveWay, AvailableWidth(), kShrunkColumnFloor);
    for (int column = 0; column < columns; ++column) {
        if (!isColumnHidden(column))
            setColumnWidth(column, widths[size_t(column)]);
    }
}

// The width the rows can use, without the vertical scroll bar when the rows need one.
int CDirListView::AvailableWidth() const
{
    const QSize room = maximumViewportSize();
    const int rowsHeight = m_model->rowCount() * verticalHeader()->defaultSectionSize();
    if (rowsHeight <= room.height())
        return room.width();
    return room.width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
}

void CDirListView::CopySelectedRows()
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    QApplication::clipboard()->setMimeData(m_model->mimeData(rows));
}

void CDirListView::CutSelectedRows()
{
    if (List().IsChecking())
        return;
    CopySelectedRows();
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    clearSelection();
    emit RowsAboutToBeCut();
    List().RemoveItems(rows);
    m_model->ShowPendingChanges();
}

void CDirListView::ShowVerdicts(const SVerifyReport *report)
{
    m_model->SetVerdicts(report);
    setColumnHidden(CDirListModel::kVerdictColumn, report == nullptr);
    ApplyReasonFilter();
    FitColumns();
}

void CDirListView::SetOnlyRowsWithReasons(bool only)
{
    m_bOnlyReasons = only;
    ApplyReasonFilter();
}

// Without verdicts there is nothing to filter by: every row shows.
void CDirListView::ApplyReasonFilter()
{
    const bool filtering = m_bOnlyReasons && m_model->Verdict(0) != nullptr;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const bool hidden = filtering && !m_model->HasReasons(row);
        if (isRowHidden(row) != hidden)
            setRowHidden(row, hidden);
    }
}

void CDirListView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopySelectedRows();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        CutSelectedRows();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CDirListView::OnDoubleClicked(const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= List().GetItemCount())
        return;
    const QString folder = dirlist::FolderToOpen(List().Item(index.row()));
    if (!folder.isEmpty())
        emit OpenFolderRequested(folder);
}

} // namespace velmora
