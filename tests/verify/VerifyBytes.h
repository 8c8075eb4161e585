#pragma once

// Writers of MP3 streams and CD+G packets for the verification's tests: frames of chosen bit
// rates with a changing payload, stream headers, tags and damage.

#include "samplegen/CdgWriter.h"

#include <QByteArray>

namespace velmora::test {

// An MPEG-1 Layer III frame at 44100 Hz, joint stereo. bitRateIndex 9 is 128 kbit/s (417
// bytes, 418 with padding), 5 is 64 kbit/s (208). The payload counts up from seed, so no
// two frames are alike and the bytes hold chance sync patterns as real audio does.
inline QByteArray Mp3Frame(int bitRateIndex = 9, bool padding = false, int seed = 0)
{
    static const int kRates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    const int length = 144000 * kRates[bitRateIndex] / 44100 + (padding ? 1 : 0);
    QByteArray frame(length, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char((bitRateIndex << 4) | (padding ? 2 : 0));
    frame[3] = char(0x64);
    for (int i = 36; i < length; ++i)
        frame[i] = char((seed * 131 + i * 7) & 0xFF);
    return frame;
}

// count frames of 128 kbit/s, padded as an encoder pads them to keep the rate.
inline QByteArray Mp3Frames(int count, int seed = 0)
{
    QByteArray frames;
    for (int i = 0; i < count; ++i)
        frames += Mp3Frame(9, i % 3 != 0, seed + i);
    return frames;
}

// Frames of changing bit rate, as a VBR encoder writes them.
inline QByteArray VbrFrames(int count)
{
    QByteArray frames;
    for (int i = 0; i < count; ++i)
        frames += Mp3Frame(5 + (i * 7) % 9, false, i);
    return frames;
}

// A silent first frame holding a Xing (or Info) header that promises frameCount frames.
inline QByteArray XingFrame(quint32 frameCount, const char *tag = "Xing")
{
    QByteArray frame = Mp3Frame(9, false, 0);
    frame.replace(4, frame.size() - 4, QByteArray(frame.size() - 4, '\0'));
    frame.replace(36, 4, tag);
    frame.replace(40, 4, QByteArray::fromHex("00000001"));
    frame[44] = char(frameCount >> 24);
    frame[45] = char(frameCount >> 16);
    frame[46] = char(frameCount >> 8);
    frame[47] = char(frameCount);
    return frame;
}

// An ID3v2.3 tag with one title frame and padding up to size bytes in all.
inline QByteArray Id3v2Tag(int size)
{
    QByteArray body = QByteArray("TIT2") + QByteArray::fromHex("00000006") + QByteArray(2, '\0') + QByteArray("\0Song", 5);
    body += QByteArray(size - 10 - body.size(), '\0');
    const int n = int(body.size());
    QByteArray header("ID3\x03\x00\x00", 6);
    header += char((n >> 21) & 0x7F);
    header += char((n >> 14) & 0x7F);
    header += char((n >> 7) & 0x7F);
    header += char(n & 0x7F);
    return header + body;
}

inline QByteArray Id3v1Tag()
{
    return (QByteArray("TAG") + QByteArray("Title")).leftJustified(128, '\0');
}

inline QByteArray ApeTag()
{
    const QByteArray item = QByteArray::fromHex("0500000000000000") + QByteArray("Title\0Hello", 11);
    const int size = int(item.size()) + 32;
    QByteArray footer("APETAGEX");
    footer += QByteArray::fromHex("D0070000");
    footer += char(size & 0xFF);
    footer += char(size >> 8);
    footer += QByteArray(2, '\0');
    footer += QByteArray::fromHex("01000000") + QByteArray(4, '\0') + QByteArray(8, '\0');
    return item + footer;
}

inline QByteArray Lyrics3v2Tag()
{
    const QByteArray body = QByteArray("LYRICSBEGIN") + "IND00002" + "10" + "LYR00011" + "[00:01]la la";
    return body + QByteArray::number(body.size()).rightJustified(6, '0') + "LYRICS200";
}

inline QByteArray Garbage(int size, int seed = 1)
{
    QByteArray bytes(size, '\0');
    quint32 state = quint32(seed) * 2654435761u + 1;
    for (int i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = char(state >> 16);
    }
    return bytes;
}

// A karaoke graphics stream of whole seconds (see samplegen/CdgWriter.h).
inline QByteArray CdgStream(int seconds)
{
    return samplegen::MakeCdgPackets(seconds);
}

} // namespace velmora::test
