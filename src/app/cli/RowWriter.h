#pragma once

#include "app/cli/CheckOptions.h"

#include <QByteArray>

namespace velmora {

class CDirItemList;
struct SVerifyReport;

// The rows of a checked list in list order, as text columns, a JSON array or CSV (UTF-8).
// With a verification report (one verdict per row) each row also carries its verdict and
// its reasons; onlyProblems then leaves out the rows that need no attention.
QByteArray WriteRows(const CDirItemList &list, EOutputFormat format, const SVerifyReport *report = nullptr,
                     bool onlyProblems = false);

// "%d:%02d" of a playing time; empty for 0.
QString DurationText(int seconds);
// A CSV field, quoted when it holds a comma, a quote or a line end.
QString CsvField(const QString &value);

} // namespace velmora
