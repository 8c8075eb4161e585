// MIDI, KAR and WRK files from memory; every input is read as each of the three types.
#include "fuzz/FuzzTargets.h"

#include "legacy/MidiSongInfo.h"

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

bool WithinLimits(const MidiSongInfo &info)
{
    for (const QByteArray &text : info.aszTexts) {
        if (text.size() > kMaxMidiText)
            return false;
    }
    for (const tagTrackInfo &track : info.tracks) {
        if (track.szName.size() > kMaxMidiText)
            return false;
    }
    return info.tracks.size() <= kMaxMidiTracks && info.tempos.size() <= kMaxMidiTempos
        && info.nDurationSeconds >= 0 && info.nDurationMs >= 0;
}

} // namespace

bool FuzzMidi(QByteArrayView data)
{
    // The .kar name has a dash, so that a file without a style track takes its title from it.
    for (const QString &name : {u"song.mid"_s, u"Title-Some_Artist.kar"_s, u"song.wrk"_s}) {
        MidiSongInfo info;
        info.strTitle = u"left over"_s;
        if (!ReadMidiSongInfoFromBytes(data, name, info)) {
            if (!info.strTitle.isEmpty() || !info.tracks.isEmpty())
                return false;
        } else if (!WithinLimits(info)) {
            return false;
        }
    }
    return true;
}

} // namespace velmora::fuzz
