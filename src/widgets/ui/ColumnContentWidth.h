#pragma once

class QTableView;

namespace velmora {

// The width a column needs for its header and the texts of its rows (the rows the view
// measures: those in view and around them), as both lists size their columns.
int ColumnContentWidth(const QTableView &view, int column);

} // namespace velmora
