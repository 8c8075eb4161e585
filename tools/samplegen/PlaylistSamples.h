#pragma once

#include "samplegen/SampleLibrary.h"

namespace velmora::samplegen {

// A juke folder "Juke/": juke.txt in UTF-16 with its header comment and a record split
// over two lines, the songs under "_Songs" (one of them not listed). Beside it, under
// "Playlists/", one playlist of every 8-bit layout, a jukebox song list with its numbered
// folder, a Korean list in code page 949, a UTF-8 record playlist and a naming file.
void AddPlaylistSamples(QList<SSampleFile> &files);

} // namespace velmora::samplegen
