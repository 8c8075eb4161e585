#pragma once

#include <QTableView>

namespace velmora {

class CDirItemList;
class CDirListModel;
struct SVerifyReport;

// The result list: seven columns over the rows of a check, coloured by mark, with check
// boxes on marked rows. A double-click on a folder row asks for a song check of it; the
// rows can be copied or dragged out as the files they stand for.
class CDirListView : public QTableView
{
    Q_OBJECT
public:
    CDirListView(CDirItemList &list, QWidget *parent);

    CDirItemList &List();
    CDirListModel &Model() { return *m_model; }

    // Sizes every column to its header and contents, then lets Filename and the three text
    // columns give way (their texts elided in the middle) until Result is in view. An empty
    // list gets the original's widths, or its headers' where those are wider.
    void FitColumns();
    // Puts the selected rows' files on the clipboard.
    void CopySelectedRows();
    // Copy, then the selected rows leave the list (and with them the songs Move would take).
    void CutSelectedRows();
    // Shows the Verdict column with these verdicts, or hides it (null).
    void ShowVerdicts(const SVerifyReport *report);
    // With verdicts shown, hides every row without a reason.
    void SetOnlyRowsWithReasons(bool only);
    bool OnlyRowsWithReasons() const { return m_bOnlyReasons; }

signals:
    void OpenFolderRequested(const QString &path);
    // Rows are about to leave the list: whatever is kept per row index is stale from now on.
    void RowsAboutToBeCut();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OnDoubleClicked(const QModelIndex &index);
    int AvailableWidth() const;
    // One fit at the window's next turn for every request made until then.
    void ScheduleFit();

    void ApplyReasonFilter();

    CDirListModel *m_model;
    bool m_bOnlyReasons = false;
    bool m_bFitScheduled = false;
};

} // namespace velmora
