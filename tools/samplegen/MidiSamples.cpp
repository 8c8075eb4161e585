#include "samplegen/MidiSamples.h"

#include <QtEndian>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace velmora::samplegen {

namespace {

constexpr quint16 kDivision = 480;
constexpr quint32 kQuarterAt120 = 500'000;

// The Korean words "love" and "singer" in code page 949.
const QByteArray kKoreanTitle = QByteArrayLiteral("\xBB\xE7\xB6\xFB");
const QByteArray kKoreanArtist = QByteArrayLiteral("\xB0\xA1\xBC\xF6");
// The word "song" in code page 949, used as a lyric line.
const QByteArray kKoreanLyric = QByteArrayLiteral("\xB3\xEB\xB7\xA1");

void PutB2(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToBigEndian(value, bytes);
    out.append(bytes, 2);
}

void PutB4(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void PutL2(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void PutL4(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void PutVarLen(QByteArray &out, quint32 value)
{
    QByteArray reversed(1, char(value & 0x7F));
    while (value >>= 7)
        reversed.append(char(0x80 | (value & 0x7F)));
    std::reverse(reversed.begin(), reversed.end());
    out.append(reversed);
}

// The events of one track, each written with its delta time.
class CTrackEvents
{
public:
    CTrackEvents &Meta(quint32 delta, quint8 type, const QByteArray &data)
    {
        PutVarLen(m_bytes, delta);
        m_bytes.append('\xFF').append(char(type));
        PutVarLen(m_bytes, quint32(data.size()));
        m_bytes.append(data);
        return *this;
    }
    CTrackEvents &Name(const QByteArray &name) { return Meta(0, 0x03, name); }
    CTrackEvents &Text(quint32 delta, const QByteArray &text) { return Meta(delta, 0x01, text); }
    CTrackEvents &Tempo(quint32 delta, quint32 microsPerQuarter)
    {
        QByteArray data;
        PutB4(data, microsPerQuarter);
        return Meta(delta, 0x51, data.sliced(1));
    }
    // A note held for length ticks, its release sent under running status as a note-on
    // with velocity 0.
    CTrackEvents &Note(quint32 delta, quint8 key, quint32 length)
    {
        PutVarLen(m_bytes, delta);
        m_bytes.append('\x90').append(char(key)).append('\x64');
        PutVarLen(m_bytes, length);
        m_bytes.append(char(key)).append('\x00');
        return *this;
    }
    QByteArray Chunk(quint32 deltaToEnd = 0)
    {
        Meta(deltaToEnd, 0x2F, {});
        QByteArray chunk("MTrk");
        PutB4(chunk, quint32(m_bytes.size()));
        return chunk + m_bytes;
    }

private:
    QByteArray m_bytes;
};

QByteArray MidiFile(quint16 format, const QList<QByteArray> &tracks)
{
    QByteArray out("MThd");
    PutB4(out, 6);
    PutB2(out, format);
    PutB2(out, quint16(tracks.size()));
    PutB2(out, kDivision);
    for (const QByteArray &track : tracks)
        out.append(track);
    return out;
}

// Eight quarter notes: four seconds at 120 beats per minute.
QByteArray MakeWordsKar()
{
    QByteArray setup = CTrackEvents()
                           .Name("Paper Moon sequence")
                           .Tempo(0, kQuarterAt120)
                           .Meta(0, 0x58, QByteArray::fromHex("04021808"))
                           .Meta(0, 0x02, "(c) Velmora samples")
                           .Chunk(8 * kDivision);
    QByteArray words = CTrackEvents()
                           .Name("Words")
                           .Text(0, "@KMIDI KARAOKE FILE")
                           .Text(0, "@LENGL")
                           .Text(0, "@TPaper Moon")
                           .Text(0, "@TLyric Band")
                           .Text(0, "@TVelmora samples")
                           .Text(kDivision, "\\Pa")
                           .Text(kDivision, "per ")
                           .Text(kDivision, "/Moon")
                           .Chunk(5 * kDivision);
    CTrackEvents melody;
    melody.Name("Melody");
    for (int i = 0; i < 8; ++i)
        melody.Note(0, quint8(60 + i), kDivision);
    return MidiFile(1, {setup, words, melody.Chunk()});
}

QByteArray MakeKoreanMid()
{
    QByteArray setup = CTrackEvents().Name("Sample").Tempo(0, kQuarterAt120).Chunk(6 * kDivision);
    QByteArray info = CTrackEvents()
                          .Name("INFO-KOR(1|" + kKoreanTitle + '|' + kKoreanArtist + "|2020)")
                          .Text(kDivision, kKoreanLyric)
                          .Chunk(5 * kDivision);
    return MidiFile(1, {setup, info});
}

QByteArray MakeNamedKar()
{
    return MidiFile(0, {CTrackEvents()
                            .Name("Love Some Body")
                            .Tempo(0, kQuarterAt120)
                            .Note(0, 64, 2 * kDivision)
                            .Note(0, 67, 2 * kDivision)
                            .Chunk()});
}

QByteArray MakeNoTempoMid()
{
    QByteArray first = CTrackEvents().Name("No Tempo").Chunk();
    QByteArray piano = CTrackEvents().Name("Piano").Note(0, 60, 2 * kDivision).Note(0, 62, 2 * kDivision).Chunk();
    return MidiFile(1, {first, piano});
}

QByteArray WorkChunk(quint8 type, const QByteArray &data)
{
    QByteArray chunk(1, char(type));
    PutL4(chunk, quint32(data.size()));
    return chunk + data;
}

QByteArray WorkText(const QByteArray &name, const QByteArray &value)
{
    QByteArray data = name;
    data.resize(32, '\0');
    return WorkChunk(26, data + value);
}

QByteArray WorkTrack(quint16 number, const QByteArray &name)
{
    QByteArray data;
    PutL2(data, number);
    data.append(char(name.size())).append(name);
    data.append(QByteArray(12, '\0'));  // channel, key and velocity settings, unused
    return WorkChunk(1, data);
}

// Two quarters at 120 then four at 60 beats per minute: 1 + 4 seconds.
QByteArray MakeWorkFile()
{
    QByteArray out("CAKEWALK");
    out.append("\x1A\x00\x00", 3);
    out.append("9.00.");
    out.resize(26, '\0');

    QByteArray timeBase;
    PutL2(timeBase, kDivision);
    out.append(WorkChunk(10, timeBase));
    out.append(WorkText("FILE", "work.wrk"));
    out.append(WorkText("Title", "Work Song"));
    out.append(WorkText("Author", "Cake Band"));
    out.append(WorkTrack(0, "Piano"));
    out.append(WorkTrack(1, "Words"));
    out.append(WorkChunk(2, QByteArray(20, '\x07')));  // a chunk type this reader skips

    QByteArray songEnd(73, '\0');
    PutL4(songEnd, 6 * kDivision);
    out.append(WorkChunk(3, songEnd));

    QByteArray tempos;
    PutL2(tempos, 2);
    for (const auto &[tick, hundredths] : {std::pair<quint32, quint16>{0, 12000}, {2 * kDivision, 6000}}) {
        QByteArray entry;
        PutL4(entry, tick);
        entry.append(QByteArray(4, '\0'));
        PutL2(entry, hundredths);
        entry.resize(18, '\0');
        tempos.append(entry);
    }
    out.append(WorkChunk(15, tempos));
    out.append('\xFF');
    return out;
}

} // namespace

void AddMidiSamples(QList<SSampleFile> &files)
{
    files.append({u"Midi/Paper Moon.kar"_s, MakeWordsKar()});
    files.append({u"Midi/Korean Love.mid"_s, MakeKoreanMid()});
    files.append({u"Midi/Love-Some_Body.kar"_s, MakeNamedKar()});
    files.append({u"Midi/No Tempo.mid"_s, MakeNoTempoMid()});
    files.append({u"Midi/Work Song.wrk"_s, MakeWorkFile()});
}

} // namespace velmora::samplegen
