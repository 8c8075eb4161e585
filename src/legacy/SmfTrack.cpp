#include "legacy/SmfTrack.h"

#include "base/ByteReader.h"
#include "legacy/MidiTexts.h"
#include "legacy/TempoMap.h"

#include <algorithm>

namespace velmora {

namespace {

enum class EStep { Next, TrackEnd, Fail };

// Data bytes that follow a status byte.
int DataBytesOf(quint8 status)
{
    if (status >= 0x80 && status <= 0xBF)
        return 2;
    if (status >= 0xC0 && status <= 0xDF)
        return 1;
    if (status >= 0xE0 && status <= 0xEF)
        return 2;
    return 0;
}

bool IsIgnoredMeta(quint8 type)
{
    switch (type) {
    case 0x00: case 0x04: case 0x05: case 0x06: case 0x07:
    case 0x20: case 0x54: case 0x58: case 0x59: case 0x7F:
        return true;
    default:
        return false;
    }
}

class CSmfTrackParser
{
public:
    CSmfTrackParser(QByteArrayView data, qsizetype trackIndex, MidiSongInfo &info, qsizetype &eventsLeft)
        : m_reader(data), m_info(info), m_texts(info, trackIndex, m_track), m_eventsLeft(eventsLeft)
    {
    }

    bool Parse()
    {
        EStep step = EStep::Next;
        while (step == EStep::Next && m_reader.Remaining() > 0 && m_eventsLeft > 0) {
            --m_eventsLeft;
            step = ParseEvent();
        }
        if (step == EStep::Fail)
            return false;
        m_track.nEndTick = m_tick;
        m_info.nSongEndTick = std::max(m_info.nSongEndTick, m_tick);
        m_info.tracks.append(m_track);
        return true;
    }

private:
    // A variable-length quantity: seven bits a byte, high bit set on all but the last. The
    // format allows four bytes; a longer one is no MIDI data.
    EStep ReadVarLen(quint32 &value)
    {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (m_reader.Remaining() == 0)
                return EStep::TrackEnd;
            const quint8 byte = m_reader.Get_B1();
            value = (value << 7) | (byte & 0x7F);
            if (!(byte & 0x80))
                return EStep::Next;
        }
        return EStep::Fail;
    }

    EStep SkipBytes(qsizetype count)
    {
        if (count > m_reader.Remaining())
            return EStep::TrackEnd;
        m_reader.Skip(count);
        return EStep::Next;
    }

    EStep ParseEvent()
    {
        quint32 delta = 0;
        if (const EStep step = ReadVarLen(delta); step != EStep::Next)
            return step;
        m_tick = std::min(m_tick + qint64(delta), kMaxMidiTick);
        if (m_reader.Remaining() == 0)
            return EStep::TrackEnd;
        const quint8 byte = m_reader.Get_B1();
        if (byte < 0x80) {
            // Running status: this byte is the first data byte of a repeated channel message.
            if (m_runningStatus == 0)
                return EStep::Fail;
            return SkipBytes(DataBytesOf(m_runningStatus) - 1);
        }
        if (byte < 0xF0) {
            m_runningStatus = byte;
            return SkipBytes(DataBytesOf(byte));
        }
        if (byte == 0xF0 || byte == 0xF7) {
            quint32 length = 0;
            if (const EStep step = ReadVarLen(length); step != EStep::Next)
                return step;
            return SkipBytes(length);
        }
        if (byte == 0xFF)
            return ParseMeta();
        return EStep::Fail;
    }

    EStep ParseMeta()
    {
        if (m_reader.Remaining() == 0)
            return EStep::TrackEnd;
        const quint8 type = m_reader.Get_B1();
        quint32 length = 0;
        if (const EStep step = ReadVarLen(length); step != EStep::Next)
            return step;
        // An event cut off by the end of the data is not used.
        if (length > quint32(m_reader.Remaining()))
            return EStep::TrackEnd;
        return ApplyMeta(type, m_reader.Get_Bytes(length));
    }

    EStep ApplyMeta(quint8 type, QByteArrayView data)
    {
        if (IsIgnoredMeta(type))
            return EStep::Next;
        const QByteArray text = BoundedMidiText(data, kMaxMidiMetaText);
        switch (type) {
        case 0x01:
            m_texts.AddText(text);
            return EStep::Next;
        case 0x02:
            m_texts.AddCopyright(text);
            return EStep::Next;
        case 0x03:
            m_texts.AddTrackName(text);
            return EStep::Next;
        case 0x21:
            if (!data.isEmpty())
                m_track.nPort = quint8(data.front());
            return EStep::Next;
        case 0x2F:
            return EStep::TrackEnd;
        case 0x51:
            AddTempo(data);
            return EStep::Next;
        default:
            return EStep::Fail;
        }
    }

    void AddTempo(QByteArrayView data)
    {
        // A tempo of 0 microseconds, or one without its three bytes, would divide by zero.
        if (data.size() < 3 || m_info.tempos.size() >= kMaxMidiTempos)
            return;
        const quint32 micros = quint32(quint8(data[0])) << 16 | quint32(quint8(data[1])) << 8 | quint8(data[2]);
        if (micros == 0)
            return;
        tagTempoInfo tempo;
        tempo.nStartTick = m_tick;
        tempo.nMicrosPerQuarter = micros;
        tempo.nBpm = int(60'000'000 / micros);
        m_info.tempos.append(tempo);
    }

    CByteReader m_reader;
    MidiSongInfo &m_info;
    tagTrackInfo m_track;
    CMidiTrackTexts m_texts;
    qsizetype &m_eventsLeft;
    qint64 m_tick = 0;
    quint8 m_runningStatus = 0;
};

} // namespace

bool ParseSmfTrack(QByteArrayView data, qsizetype trackIndex, MidiSongInfo &info, qsizetype &eventsLeft)
{
    return CSmfTrackParser(data, trackIndex, info, eventsLeft).Parse();
}

} // namespace velmora
