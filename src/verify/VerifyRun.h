#pragma once

#include "verify/VerifyReason.h"

#include <QList>

#include <functional>

namespace velmora {

class CDirItemList;
class CResultCache;
class CVerifyPrefetch;

struct SVerifyOptions
{
    int nJobs = 1; // files read at once, each on its own thread
    // Files already being read while the check ran (see VerifyPrefetch.h); others are read here.
    CVerifyPrefetch *prefetch = nullptr;
    // Kept findings of unchanged files (see CachedVerify.h); none reads every file.
    CResultCache *cache = nullptr;
    // Called before each file with the files done and the files in all; false stops the
    // verification (the report then says it is not complete).
    std::function<bool(int done, int total)> progress;
};

// The verdicts of a song check's rows, one per row in list order.
struct SVerifyReport
{
    // One per row; after a stop, only the rows before the first one not read whole.
    QList<SSongVerdict> rows;
    bool bComplete = true;
};

// Verifies every song of a finished song check: reads each file of the rows once (on
// options.nJobs threads), then judges the songs together. The rows are not changed; the
// verdicts are the same for any number of jobs.
SVerifyReport VerifySongList(const CDirItemList &list, const SVerifyOptions &options);

// One Problem line per reason, in row order: "VERIFY, <code>, <path>, <text>".
void WriteVerifyLog(const SVerifyReport &report);

// What the command line and the window run after a song check: VerifySongList, its log
// lines, and after a stop the line that says where it stopped.
SVerifyReport VerifyAndLog(const CDirItemList &list, const SVerifyOptions &options);

} // namespace velmora
