#pragma once

#include "samplegen/SampleLibrary.h"

#include <QList>

namespace velmora::samplegen {

// MIDI karaoke songs in the folder "Midi/":
// - "Paper Moon.kar": format 1, a "Words" lyrics track whose "@T" texts give the title
//   "Paper Moon" and the artist "Lyric Band"; 4 seconds at 120 beats per minute.
// - "Korean Love.mid": a track named "INFO-KOR(1|...|...|2020)" with a Korean title and
//   artist in code page 949; 3 seconds.
// - "Love-Some_Body.kar": format 0 without a style track, so its name gives title and artist;
//   2 seconds.
// - "No Tempo.mid": notes over 1,920 ticks but no tempo event, so no playing time.
// - "Work Song.wrk": a work file with "9.00." at offset 11, "Title" and "Author" texts, a
//   "Words" track and a tempo list of 120 and 60 beats per minute; 5 seconds.
void AddMidiSamples(QList<SSampleFile> &files);

} // namespace velmora::samplegen
