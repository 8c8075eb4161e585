#pragma once

#include "app/cli/CheckOptions.h"

#include <QByteArray>
#include <QStringList>

namespace velmora {

class CRevItemList;

// The grid's rows as text columns, a JSON array or CSV (UTF-8): the cell texts of every
// column, the file list and folder, and the found check. Rows of an 8-bit text playlist
// also carry their song number; suggestions (one per row, empty for none) are added when
// given. rowCount < 0: every row; otherwise only the first rowCount rows.
QByteArray WritePlaylistRows(CRevItemList &grid, EOutputFormat format, const QStringList &suggestions,
                             int rowCount = -1);

} // namespace velmora
