#pragma once

#include "legacy/MidiSongInfo.h"

#include <QByteArrayView>

namespace velmora {

// The style a track name announces ("INFO(", "INFO-", "Set up", "VC-1", "Words" at its
// start, blanks trimmed, in any case); MidiStyleNone for any other name.
int MidiStyleOfTrackName(QByteArrayView name);

// The code page of a language code of an "INFO-" track ("KOR", "JA", "UTF8" ...); 0 for a
// code that is not known.
int CodePageOfLanguage(QByteArrayView code);

// Sets the style from the first track with a style name. An INFO track also sets the code
// page and may carry the title and author: "INFO-KOR(x|Title|Author|y)".
void DecideMidiStyle(MidiSongInfo &info);

} // namespace velmora
