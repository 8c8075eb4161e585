#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

namespace velmora {

class CRevItemList;

// The playlist grid's rows as a table model. Nothing is copied: every cell is asked of the
// grid when it is drawn, so a load of a million rows costs one count change here.
class CRevListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CRevListModel(CRevItemList &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The grid's changes, passed on by the view.
    void AboutToReset();
    void Reset();
    void AboutToAppend(int first, int last);
    void Appended();
    void Changed(int first, int last);

    static QColor RowBackground(int row);
    static QColor RowText(bool found);

private:
    QIcon FileIcon(int iconIndex) const;

    CRevItemList &m_grid;
    int m_nRows = 0;
    int m_nAppendTo = 0;
    mutable QHash<int, QIcon> m_icons;
};

} // namespace velmora
