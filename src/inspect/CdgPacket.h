#pragma once

#include <QByteArrayView>

#include <array>
#include <optional>
#include <span>

namespace velmora {

// CD+G subcode as stored in a graphics file: 24-byte packets, four to a 96-byte pack.
inline constexpr qsizetype kCdgPacketSize = 24;
inline constexpr qsizetype kCdgPacketsPerPack = 4;
inline constexpr qsizetype kCdgPackSize = kCdgPacketSize * kCdgPacketsPerPack;

// One decoded graphics instruction: byte 0 the record kind, bytes 1-13 its data, bytes
// 14-15 the number of the pack that held it (16-bit little-endian).
inline constexpr qsizetype kGraphicsRecordSize = 16;
using SGraphicsRecord = std::array<quint8, kGraphicsRecordSize>;

// The record of one TV-graphics packet, or nullopt for a packet of another mode, an
// instruction the checker does not read, a skipped tile or fewer than 24 bytes.
std::optional<SGraphicsRecord> DecodeCdgPacket(QByteArrayView packet, quint16 packNumber);

// Writes the low 6 bits of each value as one continuous big-endian bit string (four values
// to three bytes). A last partial byte is filled up with zero bits; nothing is written past
// the end of out.
void PackSixBitValues(QByteArrayView values, std::span<quint8> out);

} // namespace velmora
