#pragma once

#include <QByteArray>

#include <array>

namespace velmora::samplegen {

// CD+G subcode: 24-byte packets, four to a pack, 75 packs (300 packets) a second.
inline constexpr int kCdgPacketBytes = 24;
inline constexpr int kCdgPacketsPerPack = 4;
inline constexpr int kCdgPacketsPerSecond = 300;
inline constexpr int kCdgBytesPerSecond = kCdgPacketBytes * kCdgPacketsPerSecond;
// An hour; keeps a bad length from asking for gigabytes.
inline constexpr int kMaxCdgSeconds = 3600;

inline constexpr quint8 kCdgTvGraphics = 0x09;

// The TV-graphics instructions the generated streams use.
enum ECdgInstruction : quint8
{
    kCdgMemoryPreset = 1,
    kCdgBorderPreset = 2,
    kCdgTileNormal = 6,
    kCdgTileXor = 38,
    kCdgLoadColoursLow = 30,
    kCdgLoadColoursHigh = 31,
};

// One TV-graphics packet: command 0x09, the instruction, zero parity and the sixteen
// data symbols. Instruction and symbols keep their low 6 bits, as on a disc.
QByteArray MakeCdgPacket(quint8 instruction, const std::array<quint8, 16> &data);

// seconds * 7200 bytes of karaoke graphics: colour tables, a cleared screen and border,
// one line of tiles, then a highlight wiped across it over the song, the last step in
// the final pack so the stream runs to its end. Every other packet is empty (all zero).
// Empty when seconds is outside 1..kMaxCdgSeconds. A variant other than 0 draws the lyric
// line in other shapes, so that songs of one length are not the same stream.
QByteArray MakeCdgPackets(int seconds, quint32 variant = 0);

} // namespace velmora::samplegen
