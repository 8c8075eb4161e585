#pragma once

#include "app/cli/CheckOptions.h"

#include <QByteArray>

namespace velmora {

class CDirItemList;

// The rows of a checked list in list order, as text columns, a JSON array or CSV (UTF-8).
QByteArray WriteRows(const CDirItemList &list, EOutputFormat format);

// "%d:%02d" of a playing time; empty for 0.
QString DurationText(int seconds);
// A CSV field, quoted when it holds a comma, a quote or a line end.
QString CsvField(const QString &value);

} // namespace velmora
