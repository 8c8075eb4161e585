#pragma once

#include <QString>

namespace velmora {

class CDirItemList;
struct SVerifyReport;

// The verdicts of a verified song check in one line: "1,204 songs: 1,150 ok, 31 warnings,
// 23 broken". Folder rows are no songs; rows a stopped verification did not reach are left out.
QString VerdictSummaryText(const CDirItemList &list, const SVerifyReport &report);

} // namespace velmora
