#pragma once

#include "samplegen/SampleLibrary.h"

#include <QList>

namespace velmora::samplegen {

// Karaoke graphics in every form the checker reads, in the "Graphics/" folder: CD+G with
// every instruction kind, a 210-second CD+G, the maker's tagged CD+G, MCG and SCDG files,
// and a ".cdg" that is really an MP3.
void AddGraphicsSamples(QList<SSampleFile> &files);

} // namespace velmora::samplegen
