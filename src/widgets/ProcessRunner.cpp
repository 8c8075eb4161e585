#include "widgets/ProcessRunner.h"

namespace velmora {

// Outside tools are not started yet: every run reports no output, as a missing tool does.
bool RunAndCollect(CProcessRunner &runner, const QString &)
{
    runner.m_output.clear();
    return false;
}

} // namespace velmora
