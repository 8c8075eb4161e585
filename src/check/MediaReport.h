#pragma once

#include "check/CheckTuning.h"

#include <QString>
#include <QStringList>

namespace velmora {

// The media-information report of one file as lines, from the outside tool or from the
// library (Tool or Library; see ChooseReportEngine); empty when neither can describe it.
// The library's report of a bare CD+G stream is known without asking it. Safe to call from
// several threads.
QStringList MediaReportLines(EReportEngine engine, const QString &path);

// The engine a check uses. Fastest becomes the library when it gives the tool's reports: it
// loads, and the tool is built on the same library version, or there is no tool (whose
// engine then has no reports at all); otherwise the tool. Asked once per tool.
EReportEngine ChooseReportEngine(EReportEngine engine);

} // namespace velmora
