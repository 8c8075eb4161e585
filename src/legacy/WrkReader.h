#pragma once

#include "legacy/MidiSongInfo.h"

#include <QByteArrayView>

namespace velmora {

// Reads the chunks of a work file into info: track names, the song end tick, the time base,
// the tempo list and the named texts. False only when the file does not begin with
// "CAKEWALK"; a chunk list that ends early gives what was read up to there.
bool ReadWorkFile(QByteArrayView bytes, MidiSongInfo &info);

} // namespace velmora
