#pragma once

#include "check/CheckTuning.h"

#include <QString>
#include <QStringList>

namespace velmora {

// The media-information report of one file as lines, from the outside tool or from the
// library; empty when neither can describe it. Safe to call from several threads.
QStringList MediaReportLines(EReportEngine engine, const QString &path);

} // namespace velmora
