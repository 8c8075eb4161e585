#include "check/ToolTimeOutLines.h"

#include "base/RunLogs.h"
#include "inspect/FileList.h"

namespace velmora {

void WriteToolTimeOutLines(const QList<SToolTimeOut> &timeOuts)
{
    for (const SToolTimeOut &timeOut : timeOuts) {
        WriteLog(Problem, u"ERROR, %s ended at its time limit of %d s, %s\r\n", timeOut.strTool, timeOut.nSeconds,
                 LogSafePath(timeOut.strFile));
    }
}

} // namespace velmora
