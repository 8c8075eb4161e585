#pragma once

#include "widgets/ProcessRunner.h"

#include <QList>

namespace velmora {

// One Problem line per outside tool that was ended at its time limit, naming the tool and
// the file it was run for: otherwise a file that stalled a tool would only look unreadable.
void WriteToolTimeOutLines(const QList<SToolTimeOut> &timeOuts);

} // namespace velmora
