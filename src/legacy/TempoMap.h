#pragma once

#include "legacy/MidiSongInfo.h"

namespace velmora {

// Ticks are held at this value rather than growing further. With at most 2^26 microseconds
// per quarter note (a WRK tempo of one beat per minute) every product of ticks and
// microseconds stays below 2^62, so the 64-bit arithmetic of the map cannot overflow.
constexpr qint64 kMaxMidiTick = (qint64(1) << 36) - 1;
constexpr qint64 kMaxMicrosPerQuarter = qint64(1) << 26;

// Sorts the tempo changes by start tick and fills their lengths and start times.
void BuildTempoMap(QList<tagTempoInfo> &tempos, qint64 songEndTick, int ticksPerQuarter);

// The time of a tick in whole milliseconds under a built map; 0 without tempo changes or
// with a division that is not positive.
qint64 TickToMilliseconds(const QList<tagTempoInfo> &tempos, qint64 tick, int ticksPerQuarter);

// Builds the map of info and sets its playing time from the song end tick.
void MeasureMidiDuration(MidiSongInfo &info);

} // namespace velmora
