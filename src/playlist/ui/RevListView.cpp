#include "playlist/ui/RevListView.h"

#include "check/ui/InPlaceEdit.h"
#include "playlist/RevItemList.h"
#include "playlist/ui/RevListModel.h"
#include "widgets/ui/ColumnContentWidth.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CRevListView::CRevListView(CRevItemList &grid, QWidget *parent)
    : QTableView(parent)
    , m_grid(grid)
    , m_model(new CRevListModel(grid, this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    // Fixed row heights keep a million rows cheap: nothing is measured per row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, CRevListModel::RowBackground(1));
    setPalette(colours);

    QHeaderView *header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setMinimumSectionSize(1);
    header->setStretchLastSection(false);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    // The header flips its arrow on every click before it reports it; the arrow is put back
    // where the grid's sort is, since clicks on some columns do not sort.
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        m_grid.SortByColumn(column);
        ShowSortIndicator();
    });
    connect(header, &QHeaderView::sectionResized, this, &CRevListView::TakeColumnWidth);
    connect(header, &QHeaderView::sectionMoved, this, [this] { TakeColumnOrder(); });
    connect(header, &QHeaderView::customContextMenuRequested, this, &CRevListView::ShowHeaderMenu);

    connect(this, &QAbstractItemView::doubleClicked, this, &CRevListView::EditCell);

    auto *cut = new QAction(this);
    cut->setShortcut(QKeySequence::Cut);
    connect(cut, &QAction::triggered, this, &CRevListView::CutSelectedRows);
    addAction(cut);
    auto *copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, [] { QApplication::clipboard()->clear(); });
    addAction(copy);

    m_grid.SetObserver(this);
    m_grid.RestoreColumnLayout();
    ApplyColumns();
}

CRevListView::~CRevListView()
{
    m_grid.SaveColumnLayout();
    m_grid.SetObserver(nullptr);
    m_grid.RemoveAllRows();
}

void CRevListView::FitColumns()
{
    m_grid.AutoSizeColumns();
}

void CRevListView::CutSelectedRows()
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    m_grid.RemoveRows(rows);
    QApplication::clipboard()->clear();
}

CInPlaceEdit *CRevListView::EditCell(const QModelIndex &index)
{
    if (!index.isValid() || m_grid.IsLoading() || !CRevItemList::IsEditableColumn(index.column())
        || !selectionModel()->isRowSelected(index.row(), {}))
        return nullptr;
    auto *editor = new CInPlaceEdit(this, index.row(), index.column(), m_grid.GetCellText(index.row(), index.column()));
    editor->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
    editor->setGeometry(visualRect(index));
    connect(editor, &CInPlaceEdit::EditEnded, this, [this](int row, int column, const QString &text, bool cancelled) {
        if (!cancelled)
            m_grid.SetCellText(row, column, text);
    });
    editor->show();
    return editor;
}

void CRevListView::ApplyColumns()
{
    m_bApplying = true;
    QHeaderView *header = horizontalHeader();
    for (int position = 0; position < kRevColumnCount; ++position) {
        const int column = m_grid.ColumnAtPosition(position);
        const int from = header->visualIndex(column);
        if (from != position)
            header->moveSection(from, position);
    }
    for (int column = 0; column < kRevColumnCount; ++column) {
        const int width = m_grid.ColumnWidth(column);
        header->setSectionHidden(column, width == 0);
        if (width > 0)
            header->resizeSection(column, width);
    }
    m_bApplying = false;
}

void CRevListView::TakeColumnWidth(int column, int, int newWidth)
{
    if (!m_bApplying && newWidth > 0)
        m_grid.SetColumnWidth(column, newWidth);
}

void CRevListView::TakeColumnOrder()
{
    if (m_bApplying)
        return;
    std::array<int, kRevColumnCount> order{};
    for (int position = 0; position < kRevColumnCount; ++position)
        order[size_t(position)] = horizontalHeader()->logicalIndex(position);
    m_grid.SetColumnOrder(order);
}

QMenu *CRevListView::CreateHeaderMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    for (int position = 0; position < kRevColumnCount; ++position) {
        const int column = m_grid.ColumnAtPosition(position);
        const QString text = QString::fromUtf16(RevColumn(column).szHeader);
        if (text.isEmpty())
            continue;
        QAction *action = menu->addAction(text);
        action->setData(kColumnCommandBase + column);
        action->setCheckable(true);
        action->setChecked(m_grid.IsColumnShown(column));
        action->setEnabled(column != kRevIndexColumn);
    }
    menu->addSeparator();
    QAction *autoSize = menu->addAction(u"Auto size"_s);
    autoSize->setData(kAutoSizeCommand);
    autoSize->setCheckable(true);
    autoSize->setChecked(m_grid.AutoSize());
    menu->addAction(u"Default"_s)->setData(kDefaultCommand);
    connect(menu, &QMenu::triggered, this, [this](QAction *action) { RunHeaderCommand(action->data().toInt()); });
    return menu;
}

void CRevListView::RunHeaderCommand(int command)
{
    const int column = command - kColumnCommandBase;
    if (command == kAutoSizeCommand) {
        m_grid.SetAutoSize(!m_grid.AutoSize());
        m_grid.AutoSizeColumns();
    } else if (command == kDefaultCommand) {
        m_grid.ResetColumns();
    } else if (column > 0 && column < kRevColumnCount && column != kRevIndexColumn) {
        m_grid.ShowColumn(column, !m_grid.IsColumnShown(column));
        m_grid.AutoSizeColumns();
    }
}

void CRevListView::ShowHeaderMenu(const QPoint &position)
{
    QMenu *menu = CreateHeaderMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(horizontalHeader()->mapToGlobal(position));
}

void CRevListView::OnRowsAboutToReset()
{
    m_model->AboutToReset();
}

void CRevListView::OnRowsReset()
{
    m_model->Reset();
}

void CRevListView::OnRowsAboutToAppend(int first, int last)
{
    m_model->AboutToAppend(first, last);
}

void CRevListView::OnRowsAppended()
{
    m_model->Appended();
}

void CRevListView::OnRowsChanged(int first, int last)
{
    m_model->Changed(first, last);
}

void CRevListView::OnColumnsChanged()
{
    ApplyColumns();
}

void CRevListView::OnAutoSizeColumn(int column)
{
    // A column still hidden here keeps its width until it is shown and fitted again.
    if (!horizontalHeader()->isSectionHidden(column))
        m_grid.SetColumnWidth(column, ColumnContentWidth(*this, column));
}

void CRevListView::ShowSortIndicator()
{
    QHeaderView *header = horizontalHeader();
    header->setSortIndicatorShown(m_grid.SortColumn() != 0);
    header->setSortIndicator(m_grid.SortColumn(), m_grid.SortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CRevListView::OnSortChanged(int, bool, bool scrollToTop)
{
    ShowSortIndicator();
    if (scrollToTop)
        QTableView::scrollToTop();
}

void CRevListView::OnBusyChanged(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace velmora
