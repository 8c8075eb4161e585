#include "legacy/WrkReader.h"

#include "base/ByteReader.h"
#include "legacy/MidiTexts.h"

namespace velmora {

namespace {

enum EWrkChunk : quint8 {
    WrkTrack = 1,
    WrkSongEnd = 3,
    WrkTimeBase = 10,
    WrkTempoList = 15,
    WrkNamedText = 26,
    WrkNewTrack = 36,
    WrkEnd = 255,
};

constexpr qsizetype kTempoEntryBytes = 18;
constexpr qsizetype kNamedTextValueOffset = 32;
// Tempos are stored in hundredths of a beat per minute; below one beat there is no tempo.
constexpr quint16 kMinWrkTempo = 100;

qsizetype ChunkListStart(const CByteReader &reader)
{
    return reader.HasAt(11, "9.00.") ? 26 : 11;
}

void ReadTrackChunk(CByteReader chunk, MidiSongInfo &info)
{
    if (info.tracks.size() >= kMaxMidiTracks)
        return;
    chunk.Seek(2);
    const quint8 nameLength = chunk.Get_B1();
    tagTrackInfo track;
    if (chunk.Ok())
        track.szName = BoundedMidiText(chunk.Get_Bytes(std::min<qsizetype>(nameLength, chunk.Remaining())));
    info.tracks.append(track);
}

void ReadSongEnd(CByteReader chunk, MidiSongInfo &info)
{
    chunk.Seek(73);
    const quint32 endTick = chunk.Get_L4();
    if (chunk.Ok())
        info.nSongEndTick = endTick;
}

void ReadTimeBase(CByteReader chunk, MidiSongInfo &info)
{
    const qint16 ticks = qint16(chunk.Get_L2());
    if (chunk.Ok())
        info.nTicksPerQuarter = ticks;
}

void ReadTempoList(CByteReader chunk, MidiSongInfo &info)
{
    const quint16 count = chunk.Get_L2();
    for (quint16 i = 0; i < count && chunk.Ok() && info.tempos.size() < kMaxMidiTempos; ++i) {
        CByteReader entry(chunk.Get_Bytes(kTempoEntryBytes));
        const quint32 startTick = entry.Get_L4();
        entry.Skip(4);
        const quint16 tempo = entry.Get_L2();
        if (!chunk.Ok() || !entry.Ok() || tempo < kMinWrkTempo)
            continue;
        tagTempoInfo tempoEntry;
        tempoEntry.nStartTick = startTick;
        tempoEntry.nBpm = tempo / 100;
        tempoEntry.nMicrosPerQuarter = quint32(60'000'000 / tempoEntry.nBpm);
        info.tempos.append(tempoEntry);
    }
}

void ReadNamedText(QByteArrayView chunk, MidiSongInfo &info)
{
    static const struct
    {
        QByteArrayView name;
        int slot;  // -1: accepted and dropped
    } names[] = {
        {"FILE", -1},
        {"Title", MidiTextTitle},
        {"Subtitle", MidiTextSubtitle},
        {"Copyright", MidiTextCopyright},
        {"Instructions", MidiTextInstructions},
        {"Author", MidiTextAuthor},
    };
    if (chunk.size() < kNamedTextValueOffset)
        return;
    for (const auto &named : names) {
        if (!chunk.startsWith(named.name))
            continue;
        if (named.slot >= 0)
            SetMidiText(info, EMidiTextSlot(named.slot), chunk.sliced(kNamedTextValueOffset));
        return;
    }
}

void ApplyChunk(quint8 type, QByteArrayView data, MidiSongInfo &info)
{
    switch (type) {
    case WrkTrack:
    case WrkNewTrack:
        ReadTrackChunk(CByteReader(data), info);
        break;
    case WrkSongEnd:
        ReadSongEnd(CByteReader(data), info);
        break;
    case WrkTimeBase:
        ReadTimeBase(CByteReader(data), info);
        break;
    case WrkTempoList:
        ReadTempoList(CByteReader(data), info);
        break;
    case WrkNamedText:
        ReadNamedText(data, info);
        break;
    default:
        break;
    }
}

} // namespace

bool ReadWorkFile(QByteArrayView bytes, MidiSongInfo &info)
{
    CByteReader reader(bytes);
    if (!StartsWithNoCase(bytes, "CAKEWALK"))
        return false;
    reader.Seek(ChunkListStart(reader));
    // Each chunk takes at least one byte, so the walk ends with the data at the latest.
    while (reader.Ok() && reader.Remaining() > 0) {
        const quint8 type = reader.Get_B1();
        if (type == WrkEnd)
            break;
        const quint32 length = reader.Get_L4();
        if (!reader.Ok() || length > quint64(reader.Remaining()))
            break;
        ApplyChunk(type, reader.Get_Bytes(length), info);
    }
    return true;
}

} // namespace velmora
