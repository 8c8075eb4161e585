#pragma once

#include <QtGlobal>

namespace velmora {

// What a view of the result list hears from the list while a check fills it. Rows are
// drawn from the item array on demand, so these only say what changed.
class IDirListObserver
{
public:
    virtual ~IDirListObserver() = default;
    virtual void OnListCleared() = 0;
    virtual void OnRowAdded(int row, int count) = 0;
    virtual void OnItemCountSet(int count) = 0;
    virtual void OnRowsRedrawn(int first, int last) = 0;
    virtual void OnColumnHeadersRenamed() = 0;
    virtual void OnColumnAutoSized(int column) = 0;
    // A check started (show the wait cursor) or ended.
    virtual void OnBusyChanged(bool busy) = 0;
    // Files of the per-file pass done so far, of total.
    virtual void OnProgress(int done, int total) { Q_UNUSED(done); Q_UNUSED(total); }
};

} // namespace velmora
