#include "check/ProblemMarking.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "inspect/UnknownMedia.h"

namespace velmora {

namespace {

// The path before its last "."; false when the path has none.
bool PathWithoutExtension(const QString &path, QString *base)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    *base = path.left(dot);
    return true;
}

} // namespace

void MarkProblemFile(CDirItemList &list, int e)
{
    _ITEMINFO &item = list.Item(e);
    const SUnknownMedia unknown = DescribeUnknownMedia(item.szPath, item.szType);
    WriteLogMessage(Problem, unknown.strLogLine);
    if (unknown.bSetsResult)
        item.szResult = unknown.strResult;
    item.dwFlags |= ITEM_MARK_PROBLEM | ITEM_CHECKED;

    QString base;
    if (!PathWithoutExtension(item.szPath, &base))
        return;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        _ITEMINFO &other = list.Item(i);
        QString otherBase;
        if (i == e || other.MarkClass() != 0 || !PathWithoutExtension(other.szPath, &otherBase))
            continue;
        if (otherBase.compare(base, Qt::CaseInsensitive) == 0)
            other.dwFlags = (other.dwFlags & ~0x20000u) | ITEM_MARK_COMPANION | ITEM_CHECKED;
    }
}

} // namespace velmora
