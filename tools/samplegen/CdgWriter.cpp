#include "samplegen/CdgWriter.h"

#include <algorithm>
#include <cstring>

namespace velmora::samplegen {

namespace {

using Symbols = std::array<quint8, 16>;
// A tile is 6 x 12 pixels; each row's six pixels are the low bits of one symbol, leftmost highest.
using Glyph = std::array<quint8, 12>;

constexpr int kDataOffset = 4;

// Sixteen colours as 4-bit red, green and blue.
constexpr std::array<quint16, 16> kPalette = {
    0x000, 0xFFF, 0x00C, 0xFF0, 0xC00, 0x0C0, 0x888, 0x444,
    0x0CF, 0xF80, 0x80F, 0xF8C, 0x8F8, 0xCCC, 0x048, 0x222,
};
constexpr quint8 kBackground = 0;
constexpr quint8 kLyricColour = 1;
constexpr quint8 kSungColour = 3;

constexpr Glyph kRound = {0x00, 0x00, 0x1E, 0x21, 0x21, 0x21, 0x21, 0x21, 0x1E, 0x00, 0x00, 0x00};
constexpr Glyph kStem = {0x00, 0x0C, 0x0C, 0x0C, 0x0C, 0x0C, 0x0C, 0x0C, 0x0C, 0x1E, 0x00, 0x00};

// The lyric line sits in the middle of the 50 x 18 tile screen.
constexpr int kLineRow = 8;
constexpr int kLineColumn = 19;
constexpr int kLineTiles = 12;
// The line is drawn one tile a pack from this pack on; the highlight starts after it.
constexpr qint64 kFirstTilePack = 2;
constexpr qint64 kFirstWipePack = kFirstTilePack + kLineTiles + 1;

// Each colour spans two symbols: red and the top of green, then the rest of green and blue.
Symbols ColourTable(int firstEntry)
{
    Symbols data{};
    for (int i = 0; i < 8; ++i) {
        const int rgb = kPalette[size_t(firstEntry + i)];
        const int red = (rgb >> 8) & 0xF;
        const int green = (rgb >> 4) & 0xF;
        const int blue = rgb & 0xF;
        data[size_t(2 * i)] = quint8((red << 2) | (green >> 2));
        data[size_t(2 * i + 1)] = quint8(((green & 0x3) << 4) | blue);
    }
    return data;
}

Symbols Tile(quint8 colour0, quint8 colour1, int row, int column, const Glyph &glyph)
{
    Symbols data{};
    data[0] = colour0;
    data[1] = colour1;
    data[2] = quint8(row);
    data[3] = quint8(column);
    std::copy(glyph.begin(), glyph.end(), data.begin() + 4);
    return data;
}

Glyph GlyphAt(int index, quint32 variant)
{
    Glyph glyph = index % 3 == 1 ? kStem : kRound;
    if (variant != 0)
        glyph[11] = quint8((variant >> (index % 5 * 6)) & 0x3F) | 0x01;
    return glyph;
}

void PutPacket(QByteArray &stream, qint64 packetIndex, quint8 instruction, const Symbols &data)
{
    const qint64 offset = packetIndex * kCdgPacketBytes;
    Q_ASSERT(offset >= 0 && offset + kCdgPacketBytes <= stream.size());
    const QByteArray packet = MakeCdgPacket(instruction, data);
    std::memcpy(stream.data() + offset, packet.constData(), kCdgPacketBytes);
}

void PutScreenSetup(QByteArray &stream)
{
    PutPacket(stream, 0, kCdgLoadColoursLow, ColourTable(0));
    PutPacket(stream, 1, kCdgLoadColoursHigh, ColourTable(8));
    PutPacket(stream, 2, kCdgMemoryPreset, Symbols{kBackground, 0});
    PutPacket(stream, 3, kCdgBorderPreset, Symbols{kBackground});
}

void PutLyricLine(QByteArray &stream, quint32 variant)
{
    for (int i = 0; i < kLineTiles; ++i) {
        const qint64 pack = kFirstTilePack + i;
        PutPacket(stream, pack * kCdgPacketsPerPack, kCdgTileNormal,
                  Tile(kBackground, kLyricColour, kLineRow, kLineColumn + i, GlyphAt(i, variant)));
    }
}

// XOR with lyric ^ sung turns the drawn pixels into the sung colour and leaves the
// background alone; the steps are spread evenly up to the last pack.
void PutHighlightWipe(QByteArray &stream, qint64 lastPack, quint32 variant)
{
    const quint8 flip = kLyricColour ^ kSungColour;
    for (int i = 0; i < kLineTiles; ++i) {
        const qint64 pack = kFirstWipePack + (lastPack - kFirstWipePack) * (i + 1) / kLineTiles;
        PutPacket(stream, pack * kCdgPacketsPerPack, kCdgTileXor,
                  Tile(0, flip, kLineRow, kLineColumn + i, GlyphAt(i, variant)));
    }
}

} // namespace

QByteArray MakeCdgPacket(quint8 instruction, const std::array<quint8, 16> &data)
{
    QByteArray packet(kCdgPacketBytes, '\0');
    packet[0] = char(kCdgTvGraphics);
    packet[1] = char(instruction & 0x3F);
    for (size_t i = 0; i < data.size(); ++i)
        packet[qsizetype(kDataOffset + i)] = char(data[i] & 0x3F);
    return packet;
}

QByteArray MakeCdgPackets(int seconds, quint32 variant)
{
    if (seconds < 1 || seconds > kMaxCdgSeconds)
        return {};
    QByteArray stream(qsizetype(seconds) * kCdgBytesPerSecond, '\0');
    const qint64 lastPack = qint64(seconds) * kCdgPacketsPerSecond / kCdgPacketsPerPack - 1;
    PutScreenSetup(stream);
    PutLyricLine(stream, variant);
    PutHighlightWipe(stream, lastPack, variant);
    return stream;
}

} // namespace velmora::samplegen
