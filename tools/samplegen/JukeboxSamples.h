#pragma once

#include "samplegen/SampleLibrary.h"

namespace velmora::samplegen {

// A numbered jukebox layout under "Jukebox/": song folders ZR000000, ZR002000 and
// ZR003000 (no ZR001000) with their song lists in UTF-16, UTF-8 and code page 949.
void AddJukeboxSamples(QList<SSampleFile> &files);

} // namespace velmora::samplegen
