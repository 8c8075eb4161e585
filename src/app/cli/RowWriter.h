#pragma once

#include "app/cli/CheckOptions.h"

#include <QByteArray>

namespace velmora {

class CDirItemList;

// The rows of a checked list in list order, as text columns, a JSON array or CSV (UTF-8).
QByteArray WriteRows(const CDirItemList &list, EOutputFormat format);

// "%d:%02d" of a playing time; empty for 0.
QString DurationText(int seconds);

} // namespace velmora
