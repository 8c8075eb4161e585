#include "legacy/SmfReader.h"

#include "base/ByteReader.h"
#include "legacy/MidiTexts.h"
#include "legacy/SmfTrack.h"

namespace velmora {

namespace {

constexpr qsizetype kHeaderFieldBytes = 6;

// Format, track count and division. A longer header is read from its first six bytes; a
// shorter one leaves the fields it does not hold at 0.
bool ReadHeader(CByteReader &reader, MidiSongInfo &info)
{
    if (!StartsWithNoCase(reader.Get_Bytes(4), "MThd"))
        return false;
    const quint32 length = reader.Get_B4();
    if (!reader.Ok() || length > quint64(reader.Remaining()))
        return false;
    CByteReader fields(reader.Get_Bytes(length));
    if (length >= 2)
        info.nFormat = fields.Get_B2();
    if (length >= 4)
        info.nTrackCount = fields.Get_B2();
    if (length >= kHeaderFieldBytes)
        info.nTicksPerQuarter = fields.Get_B2();
    return true;
}

bool ReadTracks(CByteReader &reader, MidiSongInfo &info)
{
    qsizetype eventsLeft = kMaxMidiEvents;
    for (qsizetype index = 0; index < kMaxMidiTracks && eventsLeft > 0; ++index) {
        if (!reader.HasAt(reader.Position(), "MTrk"))
            break;
        reader.Skip(4);
        const quint32 length = reader.Get_B4();
        if (!reader.Ok())
            break;
        // A chunk that claims more than the file holds is read as far as it goes.
        const QByteArrayView track = reader.Get_Bytes(std::min<quint64>(length, quint64(reader.Remaining())));
        if (!ParseSmfTrack(track, index, info, eventsLeft))
            return false;
    }
    return true;
}

} // namespace

bool ReadStandardMidiFile(QByteArrayView bytes, bool karFile, MidiSongInfo &info)
{
    CByteReader reader(bytes);
    if (!ReadHeader(reader, info))
        return false;
    if (info.nFormat != 0 && info.nFormat != 1)
        return false;
    if (karFile)
        info.nFormat = kKarFormat;
    return ReadTracks(reader, info);
}

} // namespace velmora
