#include "app/cli/CheckProgress.h"

#include "app/cli/ProgressLine.h"
#include "app/cli/StopSignals.h"
#include "check/DirItemList.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

CCheckProgress::CCheckProgress(CDirItemList &list, CProgressLine &line)
    : m_list(list)
    , m_line(line)
{
}

int CCheckProgress::RowsRead() const
{
    return m_bStopped ? m_nDone : m_list.GetItemCount();
}

void CCheckProgress::OnRowAdded(int row, int count)
{
    Q_UNUSED(row);
    m_line.Update(count, -1);
}

void CCheckProgress::OnBusyChanged(bool busy)
{
    if (busy)
        m_line.StartPhase(u"walking"_s);
    else
        m_line.Clear();
}

void CCheckProgress::OnProgress(int done, int total)
{
    if (m_line.Phase() != u"reading"_s)
        m_line.StartPhase(u"reading"_s);
    m_line.Update(done, total);
    m_nDone = done;
    if (CStopSignals::Received() != 0 && !m_bStopped) {
        m_bStopped = true;
        m_list.RequestStop();
    }
}

} // namespace velmora
