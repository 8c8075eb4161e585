#pragma once

#include "playlist/RevListObserver.h"

#include <QTableView>

class QMenu;

namespace velmora {

class CInPlaceEdit;
class CRevItemList;
class CRevListModel;

// The playlist grid on screen: a table over CRevItemList with striped rows, grey rows for
// missing files, header clicks that sort, and a header menu that shows and hides columns.
// The column layout is restored when the view is made and saved when it goes.
class CRevListView final : public QTableView, private IRevListObserver
{
    Q_OBJECT

public:
    static constexpr int kColumnCommandBase = 1100;
    static constexpr int kDefaultCommand = 1121;
    static constexpr int kAutoSizeCommand = 1122;

    CRevListView(CRevItemList &grid, QWidget *parent = nullptr);
    ~CRevListView() override;

    // Re-fits the columns (after the main view resized the grid).
    void FitColumns();

    // The header menu as a right click opens it; each action's data is its command number.
    QMenu *CreateHeaderMenu(QWidget *parent);
    void RunHeaderCommand(int command);
    // Cut: removes the selected rows.
    void CutSelectedRows();
    // A double click on a text cell of a selected row: the in-place editor over the cell,
    // whose text goes into the row when the edit ends with Enter or a click elsewhere.
    // Null when the cell cannot be edited.
    CInPlaceEdit *EditCell(const QModelIndex &index);

private:
    void OnRowsAboutToReset() override;
    void OnRowsReset() override;
    void OnRowsAboutToAppend(int first, int last) override;
    void OnRowsAppended() override;
    void OnRowsChanged(int first, int last) override;
    void OnColumnsChanged() override;
    void OnAutoSizeColumn(int column) override;
    void OnSortChanged(int column, bool ascending, bool scrollToTop) override;
    void OnBusyChanged(bool busy) override;

    void ApplyColumns();
    void TakeColumnWidth(int column, int oldWidth, int newWidth);
    void TakeColumnOrder();
    void ShowHeaderMenu(const QPoint &position);
    void ShowSortIndicator();

    CRevItemList &m_grid;
    CRevListModel *m_model;
    bool m_bApplying = false;
};

} // namespace velmora
