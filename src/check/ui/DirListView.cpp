#include "check/ui/DirListView.h"

#include "check/DirItemList.h"
#include "check/DirListTexts.h"
#include "check/ui/DirListModel.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>

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
    connect(m_model, &CDirListModel::ColumnAutoSizeRequested, this, [this](int column) {
        if (column >= 2 && column <= 4)
            resizeColumnToContents(column);
    });
}

CDirItemList &CDirListView::List()
{
    return m_model->List();
}

void CDirListView::FitTextColumns()
{
    for (int column = 2; column <= 4; ++column)
        resizeColumnToContents(column);
}

void CDirListView::CopySelectedRows()
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    QApplication::clipboard()->setMimeData(m_model->mimeData(rows));
}

void CDirListView::ShowVerdicts(const SVerifyReport *report)
{
    m_model->SetVerdicts(report);
    setColumnHidden(CDirListModel::kVerdictColumn, report == nullptr);
    ApplyReasonFilter();
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
