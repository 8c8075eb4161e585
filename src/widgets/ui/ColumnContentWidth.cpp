#include "widgets/ui/ColumnContentWidth.h"

#include <QHeaderView>
#include <QTableView>

namespace velmora {

int ColumnContentWidth(const QTableView &view, int column)
{
    // QTableView keeps the row measure protected; the item view's is public and the same.
    const QAbstractItemView &items = view;
    return std::max(items.sizeHintForColumn(column), view.horizontalHeader()->sectionSizeHint(column));
}

} // namespace velmora
