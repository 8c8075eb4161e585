#pragma once

#include "inspect/KaraokeIdentification.h"
#include "inspect/MediaInfoReport.h"
#include "widgets/ProcessRunner.h"

#include <QList>
#include <QStringList>

namespace velmora {

// Everything the media-details check learns about one file, in the order it asks: the media
// report (with pass A), then pass B, then the analysis. Later steps run only when earlier
// ones found no playing time, so the work done is the same whether it runs ahead or in turn.
struct SMediaExamination
{
    bool bFolder = false;
    SToolSummaries summaries;
    SKaraokeIdentity identity;
    QStringList analysis;
    bool bAnalysed = false;
    QList<SToolTimeOut> timeOuts;
};

} // namespace velmora
