#pragma once

#include "check/DirListObserver.h"

#include <QAbstractTableModel>

namespace velmora {

class CDirItemList;
struct SSongVerdict;
struct SVerifyReport;

// Presents the result list's rows to a table view without copying them: every cell is read
// from the item array when it is drawn. What a check changes (rows appended or removed, rows
// redrawn) is collected and announced in one insertion and one range of changed rows when
// the event loop runs, so a check of 100,000 files does not announce its rows one by one.
class CDirListModel : public QAbstractTableModel, public IDirListObserver
{
    Q_OBJECT
public:
    explicit CDirListModel(CDirItemList &list, QObject *parent = nullptr);
    ~CDirListModel() override;

    CDirItemList &List() { return m_list; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction | Qt::MoveAction; }

    static int InitialColumnWidth(int column);

    // The Verdict column after the seven of the check, filled once a verification ran.
    static constexpr int kVerdictColumn = 7;
    // The verdicts of the rows, one per row from the first; null takes them away. The report
    // must outlive its use here. Rows with a reason can be ticked as marked rows can.
    void SetVerdicts(const SVerifyReport *report);
    const SSongVerdict *Verdict(int row) const;
    bool HasReasons(int row) const;

    // The check box in the header of column 0: flips the state and ticks or unticks every
    // marked row.
    void ToggleAllChecks();
    bool AllChecked() const { return m_bAllChecked; }

    // Announces what changed since the last announcement now instead of when the event
    // loop runs.
    void ShowPendingChanges();

    // IDirListObserver
    void OnListCleared() override;
    void OnRowAdded(int row, int count) override;
    void OnItemCountSet(int count) override;
    void OnRowsRedrawn(int first, int last) override;
    void OnColumnHeadersRenamed() override;
    void OnColumnAutoSized(int column) override;
    void OnBusyChanged(bool busy) override;
    void OnProgress(int done, int total) override;

signals:
    void ColumnAutoSizeRequested(int column);
    void BusyChanged(bool busy);
    void ProgressChanged(int done, int total);

private:
    void ScheduleShow();
    void ShowRowCount();
    void ShowRedrawnRows();

    CDirItemList &m_list;
    int m_shownRows = 0;
    int m_pendingRows = 0;
    int m_redrawFirst = -1; // rows to redraw, -1 when none
    int m_redrawLast = -1;
    bool m_bShowScheduled = false;
    bool m_bAllChecked = false;
    const SVerifyReport *m_verdicts = nullptr;

    QVariant VerdictData(int row, int column, int role) const;
    bool IsTickable(int row) const;
};

} // namespace velmora
