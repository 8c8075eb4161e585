#pragma once

#include "legacy/MidiSongInfo.h"

#include <QByteArrayView>

namespace velmora {

// Reads the header and the "MTrk" chunks of a Standard MIDI File into info: the header
// fields, the text slots, the tracks and the tempo changes. False when the header is not
// "MThd", the format is neither 0 nor 1, or a track cannot be read. A .kar file gets the
// format value kKarFormat once its header has been checked.
bool ReadStandardMidiFile(QByteArrayView bytes, bool karFile, MidiSongInfo &info);

} // namespace velmora
