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

    // Fits Title, Artist and Album to their header texts and contents.
    void FitTextColumns();
    // Puts the selected rows' files on the clipboard.
    void CopySelectedRows();
    // Shows the Verdict column with these verdicts, or hides it (null).
    void ShowVerdicts(const SVerifyReport *report);
    // With verdicts shown, hides every row without a reason.
    void SetOnlyRowsWithReasons(bool only);
    bool OnlyRowsWithReasons() const { return m_bOnlyReasons; }

signals:
    void OpenFolderRequested(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OnDoubleClicked(const QModelIndex &index);

    void ApplyReasonFilter();

    CDirListModel *m_model;
    bool m_bOnlyReasons = false;
};

} // namespace velmora
