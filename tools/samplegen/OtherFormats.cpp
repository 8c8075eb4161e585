#include "samplegen/OtherFormats.h"

#include <QtEndian>
#include <zlib.h>

namespace velmora::samplegen {

namespace {

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

constexpr quint16 kZipDosTime = (12 << 11);                       // 12:00:00
constexpr quint16 kZipDosDate = ((2020 - 1980) << 9) | (1 << 5) | 1; // 2020-01-01

// The fields a local header and its central-directory entry share, from "version needed".
void PutZipEntryFields(QByteArray &out, const SZipMember &member, quint32 crc)
{
    PutL2(out, 10);          // version needed: stored data
    PutL2(out, 0);           // flags
    PutL2(out, 0);           // method: stored
    PutL2(out, kZipDosTime);
    PutL2(out, kZipDosDate);
    PutL4(out, crc);
    PutL4(out, quint32(member.content.size()));
    PutL4(out, quint32(member.content.size()));
    PutL2(out, quint16(member.name.toUtf8().size()));
    PutL2(out, 0);           // extra field length
}

} // namespace

QByteArray MakeWavFile(int seconds)
{
    constexpr quint32 kRate = 8000;
    const quint32 dataBytes = kRate * quint32(std::max(seconds, 0));
    QByteArray out("RIFF");
    PutL4(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    PutL4(out, 16);
    PutL2(out, 1);     // PCM
    PutL2(out, 1);     // mono
    PutL4(out, kRate);
    PutL4(out, kRate); // bytes per second
    PutL2(out, 1);     // block align
    PutL2(out, 8);     // bits per sample
    out.append("data");
    PutL4(out, dataBytes);
    out.append(QByteArray(qsizetype(dataBytes), char(0x80))); // 8-bit silence is 128
    return out;
}

namespace {

QByteArray Chunk(const char *id, const QByteArray &body)
{
    QByteArray out(id, 4);
    PutL4(out, quint32(body.size()));
    out.append(body);
    if (body.size() % 2)
        out.append('\0');
    return out;
}

QByteArray List(const char *type, const QByteArray &body)
{
    return Chunk("LIST", QByteArray(type, 4) + body);
}

} // namespace

QByteArray MakeAviFile(int seconds)
{
    constexpr quint32 kWidth = 16, kHeight = 16, kFps = 5;
    constexpr quint32 kFrameBytes = kWidth * kHeight * 3;
    const quint32 frames = kFps * quint32(std::max(seconds, 1));

    QByteArray avih;
    PutL4(avih, 1000000 / kFps);   // microseconds per frame
    PutL4(avih, kFrameBytes * kFps); // max bytes per second
    PutL4(avih, 0);                // padding granularity
    PutL4(avih, 0x10);             // has index
    PutL4(avih, frames);
    PutL4(avih, 0);                // initial frames
    PutL4(avih, 1);                // streams
    PutL4(avih, kFrameBytes);      // suggested buffer size
    PutL4(avih, kWidth);
    PutL4(avih, kHeight);
    avih.append(QByteArray(16, '\0'));

    QByteArray strh("vids", 4);
    strh.append("DIB ", 4);
    PutL4(strh, 0);                // flags
    PutL2(strh, 0);                // priority
    PutL2(strh, 0);                // language
    PutL4(strh, 0);                // initial frames
    PutL4(strh, 1);                // scale
    PutL4(strh, kFps);             // rate
    PutL4(strh, 0);                // start
    PutL4(strh, frames);           // length
    PutL4(strh, kFrameBytes);      // suggested buffer size
    PutL4(strh, 0xFFFFFFFF);       // quality
    PutL4(strh, 0);                // sample size
    PutL2(strh, 0); PutL2(strh, 0); PutL2(strh, kWidth); PutL2(strh, kHeight);

    QByteArray strf;               // BITMAPINFOHEADER
    PutL4(strf, 40);
    PutL4(strf, kWidth);
    PutL4(strf, kHeight);
    PutL2(strf, 1);
    PutL2(strf, 24);
    PutL4(strf, 0);                // uncompressed
    PutL4(strf, kFrameBytes);
    strf.append(QByteArray(16, '\0'));

    QByteArray movi;
    QByteArray index;
    const QByteArray frame(kFrameBytes, char(0x80));
    for (quint32 i = 0; i < frames; ++i) {
        index.append("00db", 4);
        PutL4(index, 0x10);        // key frame
        PutL4(index, quint32(4 + movi.size()));
        PutL4(index, kFrameBytes);
        movi.append(Chunk("00db", frame));
    }
    const QByteArray header = List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));
    const QByteArray body = QByteArray("AVI ", 4) + header + List("movi", movi) + Chunk("idx1", index);
    return Chunk("RIFF", body);
}

QByteArray MakeMdkFile(quint32 milliseconds)
{
    QByteArray out("MD-LJM");
    out.append(QByteArray(10, '\0'));
    PutL4(out, milliseconds);
    out.append(QByteArray(12, '\0'));
    out.append("Velmora sample MDK body");
    return out;
}

QByteArray MakeMinimalMidiFile()
{
    QByteArray out("MThd");
    PutB4(out, 6);
    PutB2(out, 0);  // format 0
    PutB2(out, 1);  // one track
    PutB2(out, 96); // ticks per quarter note
    out.append("MTrk");
    PutB4(out, 4);
    out.append("\x00\xFF\x2F\x00", 4); // end of track
    return out;
}

QByteArray MakeStoredZip(const QList<SZipMember> &members)
{
    QByteArray out;
    QByteArray directory;
    for (const SZipMember &member : members) {
        const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(member.content.constData()),
                                          uInt(member.content.size())));
        const quint32 offset = quint32(out.size());
        out.append("PK\x03\x04", 4);
        PutZipEntryFields(out, member, crc);
        out.append(member.name.toUtf8());
        out.append(member.content);

        directory.append("PK\x01\x02", 4);
        PutL2(directory, 20); // made by: MS-DOS, version 2.0
        PutZipEntryFields(directory, member, crc);
        PutL2(directory, 0);  // comment length
        PutL2(directory, 0);  // disk number
        PutL2(directory, 0);  // internal attributes
        PutL4(directory, 0x20); // archive bit
        PutL4(directory, offset);
        directory.append(member.name.toUtf8());
    }
    const quint32 directoryOffset = quint32(out.size());
    out.append(directory);
    out.append("PK\x05\x06", 4);
    PutL2(out, 0);
    PutL2(out, 0);
    PutL2(out, quint16(members.size()));
    PutL2(out, quint16(members.size()));
    PutL4(out, quint32(directory.size()));
    PutL4(out, directoryOffset);
    PutL2(out, 0);
    return out;
}

} // namespace velmora::samplegen
