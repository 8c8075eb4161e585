#pragma once

#include "check/CheckTuning.h"

#include <QString>

namespace velmora {

// What each kind of kept result depends on besides the file's own bytes and name: this
// program's build, the code page names are decoded with, and the media-information library
// and outside tools that read files for it. A result kept under another context is read
// again, so an update of any of them never leaves an old answer in place.
QString SongFileContext();
QString MediaDetailsContext(EReportEngine engine);
QString VerifyContext();

} // namespace velmora
