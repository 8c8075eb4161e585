#pragma once

#include "check/DirListObserver.h"

namespace velmora {

class CDirItemList;
class CProgressLine;

// Follows a check on the command line: the walk and the per-file pass on the progress line,
// and a stop signal turned into the list's stop request before the next file. The caller
// makes it the list's observer (or the last of a chain of them).
class CCheckProgress final : public IDirListObserver
{
public:
    CCheckProgress(CDirItemList &list, CProgressLine &line);
    CCheckProgress(const CCheckProgress &) = delete;
    CCheckProgress &operator=(const CCheckProgress &) = delete;

    // Rows whose files were read before the check stopped, or every row when it was not.
    int RowsRead() const;
    bool Stopped() const { return m_bStopped; }

    void OnListCleared() override {}
    void OnRowAdded(int row, int count) override;
    void OnItemCountSet(int count) override { Q_UNUSED(count); }
    void OnRowsRedrawn(int first, int last) override { Q_UNUSED(first); Q_UNUSED(last); }
    void OnColumnHeadersRenamed() override {}
    void OnColumnAutoSized(int column) override { Q_UNUSED(column); }
    void OnBusyChanged(bool busy) override;
    void OnProgress(int done, int total) override;

private:
    CDirItemList &m_list;
    CProgressLine &m_line;
    int m_nDone = 0;
    bool m_bStopped = false;
};

} // namespace velmora
