#include "app/VerdictSummary.h"

#include "app/ProgressEstimate.h"
#include "check/DirItemList.h"
#include "verify/VerifyRun.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

QString VerdictSummaryText(const CDirItemList &list, const SVerifyReport &report)
{
    int songs = 0, ok = 0, warnings = 0, broken = 0;
    for (qsizetype i = 0; i < report.rows.size() && i < list.GetItemCount(); ++i) {
        if (list.Item(int(i)).IsFolder())
            continue;
        ++songs;
        switch (report.rows.at(i).verdict) {
        case EVerdict::Ok: ++ok; break;
        case EVerdict::Warning: ++warnings; break;
        case EVerdict::Broken: ++broken; break;
        }
    }
    return GroupedNumber(songs) + (songs == 1 ? u" song: "_s : u" songs: "_s) + GroupedNumber(ok) + u" ok, "_s
         + GroupedNumber(warnings) + (warnings == 1 ? u" warning, "_s : u" warnings, "_s) + GroupedNumber(broken)
         + u" broken"_s;
}

} // namespace velmora
