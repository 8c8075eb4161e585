#pragma once

// Small writers of Standard MIDI Files and work files for the reader's tests.

#include <QByteArray>
#include <QList>

#include <algorithm>

namespace velmora::test {

inline void PutBig(QByteArray &out, quint32 value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

inline void PutLittle(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

inline QByteArray VarLen(quint32 value)
{
    QByteArray out(1, char(value & 0x7F));
    while (value >>= 7)
        out.append(char(0x80 | (value & 0x7F)));
    std::reverse(out.begin(), out.end());
    return out;
}

// Track events written one after another; End() closes the chunk.
class CTrack
{
public:
    CTrack &Raw(const QByteArray &bytes)
    {
        m_events.append(bytes);
        return *this;
    }
    CTrack &Meta(quint32 delta, quint8 type, const QByteArray &data)
    {
        return Raw(VarLen(delta) + '\xFF' + char(type) + VarLen(quint32(data.size())) + data);
    }
    CTrack &Name(const QByteArray &name) { return Meta(0, 0x03, name); }
    CTrack &Text(const QByteArray &text, quint32 delta = 0) { return Meta(delta, 0x01, text); }
    CTrack &Tempo(quint32 delta, quint32 micros)
    {
        QByteArray data;
        PutBig(data, micros, 3);
        return Meta(delta, 0x51, data);
    }
    CTrack &Note(quint32 delta, quint32 length)
    {
        Raw(VarLen(delta) + QByteArray::fromHex("903C64"));
        return Raw(VarLen(length) + QByteArray::fromHex("803C40"));
    }
    QByteArray Events() const { return m_events; }
    QByteArray Chunk() const { return Chunk(m_events); }
    QByteArray End(quint32 delta = 0) { return Meta(delta, 0x2F, {}).Chunk(); }

    static QByteArray Chunk(const QByteArray &events)
    {
        QByteArray chunk("MTrk");
        PutBig(chunk, quint32(events.size()), 4);
        return chunk + events;
    }

private:
    QByteArray m_events;
};

inline QByteArray MidiHeader(quint16 format, quint16 tracks, quint16 division, quint32 length = 6)
{
    QByteArray out("MThd");
    PutBig(out, length, 4);
    PutBig(out, format, 2);
    PutBig(out, tracks, 2);
    PutBig(out, division, 2);
    if (length > 6)
        out.append(QByteArray(qsizetype(length - 6), '\x7F'));
    return out;
}

inline QByteArray MidiFile(const QList<QByteArray> &tracks, quint16 format = 1, quint16 division = 480)
{
    QByteArray out = MidiHeader(format, quint16(tracks.size()), division);
    for (const QByteArray &track : tracks)
        out.append(track);
    return out;
}

// A work file: the "CAKEWALK" header and its chunks, ended by type 255 unless told not to.
inline QByteArray WorkChunk(quint8 type, const QByteArray &data)
{
    QByteArray chunk(1, char(type));
    PutLittle(chunk, quint32(data.size()), 4);
    return chunk + data;
}

inline QByteArray WorkFile(const QList<QByteArray> &chunks, bool version9 = true, bool withEnd = true)
{
    QByteArray out("CAKEWALK");
    out.append("\x1A\x00\x00", 3);
    if (version9) {
        out.append("9.00.");
        out.resize(26, '\0');
    }
    for (const QByteArray &chunk : chunks)
        out.append(chunk);
    if (withEnd)
        out.append('\xFF');
    return out;
}

inline QByteArray WorkText(const QByteArray &name, const QByteArray &value)
{
    QByteArray data = name;
    data.resize(32, '\0');
    return WorkChunk(26, data + value);
}

inline QByteArray WorkTrack(const QByteArray &name, quint8 type = 1)
{
    QByteArray data("\x00\x00", 2);
    data.append(char(name.size())).append(name).append(QByteArray(8, '\0'));
    return WorkChunk(type, data);
}

inline QByteArray WorkTimeBase(qint16 ticks)
{
    QByteArray data;
    PutLittle(data, quint16(ticks), 2);
    return WorkChunk(10, data);
}

inline QByteArray WorkSongEnd(quint32 tick)
{
    QByteArray data(73, '\0');
    PutLittle(data, tick, 4);
    return WorkChunk(3, data);
}

struct SWorkTempo
{
    quint32 tick;
    quint16 hundredths;
};
inline QByteArray WorkTempos(const QList<SWorkTempo> &tempos, int claimedCount = -1)
{
    QByteArray data;
    PutLittle(data, quint32(claimedCount < 0 ? tempos.size() : claimedCount), 2);
    for (const SWorkTempo &tempo : tempos) {
        QByteArray entry;
        PutLittle(entry, tempo.tick, 4);
        entry.append(QByteArray(4, '\0'));
        PutLittle(entry, tempo.hundredths, 2);
        entry.resize(18, '\0');
        data.append(entry);
    }
    return WorkChunk(15, data);
}

} // namespace velmora::test
