#pragma once

class QTableView;

namespace velmora {

// The width a column needs for its header and the texts of its rows (the rows the view
// measures: those in view and around them), as both lists size their columns. It is the
// width QTableView::sizeHintForColumn gives, found without laying out every row's text.
int ColumnContentWidth(const QTableView &view, int column);

} // namespace velmora
