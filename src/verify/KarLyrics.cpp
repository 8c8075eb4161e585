#include "verify/KarLyrics.h"

#include "base/ByteReader.h"

namespace velmora {

namespace {

constexpr quint8 kMetaText = 0x01;
constexpr quint8 kMetaLyric = 0x05;

// A variable-length quantity; fails the reader when it runs past four bytes or the data.
quint32 ReadVarLength(CByteReader &reader)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) {
        const quint8 byte = reader.Get_B1();
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return value;
    }
    reader.Seek(-1);
    return 0;
}

int DataBytesOf(quint8 status)
{
    if (status < 0xC0 || (status >= 0xE0 && status < 0xF0) || status == 0xF2)
        return 2;
    if (status < 0xE0 || status == 0xF1 || status == 0xF3)
        return 1;
    return 0;
}

qint64 CountTrackLyrics(QByteArrayView track, bool firstTrack)
{
    CByteReader reader(track);
    qint64 lyrics = 0;
    quint8 running = 0;
    while (reader.Ok() && reader.Remaining() > 0) {
        ReadVarLength(reader);
        quint8 status = reader.Get_B1();
        if (!reader.Ok())
            break;
        if (status < 0x80) {
            if (running == 0)
                break;
            reader.Seek(reader.Position() - 1);
            status = running;
        }
        if (status == 0xFF) {
            const quint8 type = reader.Get_B1();
            const QByteArrayView text = reader.Get_Bytes(qsizetype(ReadVarLength(reader)));
            if (type == kMetaLyric || (type == kMetaText && !firstTrack && !text.startsWith("@") && !text.isEmpty()))
                ++lyrics;
            if (type == 0x2F)
                break;
        } else if (status == 0xF0 || status == 0xF7) {
            reader.Skip(qsizetype(ReadVarLength(reader)));
        } else {
            if (status < 0xF0)
                running = status;
            reader.Skip(DataBytesOf(status));
        }
    }
    return lyrics;
}

} // namespace

qint64 CountLyricEvents(QByteArrayView smf)
{
    CByteReader reader(smf);
    if (!reader.HasAt(0, "MThd"))
        return -1;
    reader.Seek(4);
    reader.Skip(qsizetype(reader.Get_B4()));
    if (!reader.Ok())
        return -1;
    qint64 lyrics = 0;
    int track = 0;
    while (reader.Remaining() >= 8) {
        const QByteArrayView type = reader.Get_Bytes(4);
        const quint32 length = reader.Get_B4();
        const QByteArrayView body = reader.Get_Bytes(qMin<qsizetype>(qsizetype(length), reader.Remaining()));
        if (type == "MTrk")
            lyrics += CountTrackLyrics(body, track++ == 0);
    }
    return lyrics;
}

} // namespace velmora
