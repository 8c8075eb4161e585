#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace velmora {

// Karaoke MIDI files are read whole below this size; real ones are a few tens of KB.
inline constexpr qint64 kMaxKaraokeMidiSize = 16 * 1024 * 1024;

// The lyric events of a Standard MIDI File: lyric meta events in any track, and text events
// of the tracks after the first that are not "@" header lines (the Soft Karaoke form).
// -1 when the bytes are no Standard MIDI File. A track that breaks off ends the count of
// that track only.
qint64 CountLyricEvents(QByteArrayView smf);

} // namespace velmora
