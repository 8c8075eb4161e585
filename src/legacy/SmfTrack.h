#pragma once

#include "legacy/MidiSongInfo.h"

#include <QByteArrayView>

namespace velmora {

// Parses the events of one "MTrk" chunk: its texts go to info's slots, its tempo changes to
// info's list, and its record (name, port, end tick) is appended to info's tracks. Every
// event read takes one from eventsLeft; when none are left the track ends where it is. A
// track that ends before its end-of-track event still counts; false only for a track that
// holds an event this reader does not accept.
bool ParseSmfTrack(QByteArrayView data, qsizetype trackIndex, MidiSongInfo &info, qsizetype &eventsLeft);

} // namespace velmora
