#include "inspect/CdgPacket.h"

#include "base/ByteReader.h"

namespace velmora {

namespace {

constexpr quint8 kTvGraphicsMode = 9;
constexpr quint8 kSymbolMask = 0x3F;
// A tile packet with this bit in its second symbol is not drawn by the checker's players.
constexpr quint8 kSkippedTileBit = 0x20;

enum ECdgInstruction : quint8
{
    kMemoryPreset = 1,
    kBorderPreset = 2,
    kTileNormal = 6,
    kScrollPreset = 20,
    kScrollCopy = 24,
    kColoursLow = 30,
    kColoursHigh = 31,
    kTileXor = 38,
};

// The sixteen data symbols without the two top bits, which belong to other subchannels.
using SSymbols = std::array<char, 16>;

quint8 Symbol(const SSymbols &d, size_t index)
{
    return quint8(d[index]);
}

quint8 ColourPair(const SSymbols &d)
{
    return quint8((Symbol(d, 0) & 0x0F) | (Symbol(d, 1) << 4));
}

SGraphicsRecord PresetRecord(quint8 kind, quint8 value)
{
    SGraphicsRecord record{};
    record[0] = kind;
    record[1] = value;
    return record;
}

SGraphicsRecord ColourTableRecord(quint8 kind, const SSymbols &d)
{
    SGraphicsRecord record{};
    record[0] = kind;
    PackSixBitValues(QByteArrayView(d.data(), 16), std::span(record).subspan(1, 12));
    return record;
}

SGraphicsRecord TileRecord(quint8 kind, const SSymbols &d)
{
    SGraphicsRecord record{};
    record[0] = kind;
    record[1] = ColourPair(d);
    record[2] = Symbol(d, 2) & 0x1F; // row
    record[3] = Symbol(d, 3) & 0x3F; // column
    PackSixBitValues(QByteArrayView(d.data() + 4, 12), std::span(record).subspan(4, 9));
    return record;
}

SGraphicsRecord ScrollRecord(quint8 kind, const SSymbols &d)
{
    SGraphicsRecord record{};
    record[0] = kind;
    for (size_t i = 0; i < 4; ++i)
        record[1 + i] = Symbol(d, i);
    return record;
}

std::optional<SGraphicsRecord> RecordOf(quint8 instruction, const SSymbols &d)
{
    const bool skippedTile = (Symbol(d, 1) & kSkippedTileBit) != 0;
    switch (instruction) {
    case kMemoryPreset: return PresetRecord(0, ColourPair(d));
    case kBorderPreset: return PresetRecord(1, Symbol(d, 0) & 0x0F);
    case kColoursLow: return ColourTableRecord(2, d);
    case kColoursHigh: return ColourTableRecord(3, d);
    case kTileNormal: return skippedTile ? std::nullopt : std::optional(TileRecord(4, d));
    case kTileXor: return skippedTile ? std::nullopt : std::optional(TileRecord(5, d));
    case kScrollPreset: return ScrollRecord(6, d);
    case kScrollCopy: return ScrollRecord(7, d);
    default: return std::nullopt;
    }
}

} // namespace

std::optional<SGraphicsRecord> DecodeCdgPacket(QByteArrayView packet, quint16 packNumber)
{
    CByteReader reader(packet);
    const quint8 mode = reader.Get_B1() & kSymbolMask;
    const quint8 instruction = reader.Get_B1() & kSymbolMask;
    reader.Skip(2); // parity Q
    const QByteArrayView data = reader.Get_Bytes(16);
    if (!reader.Ok() || mode != kTvGraphicsMode)
        return std::nullopt;
    SSymbols symbols{};
    for (size_t i = 0; i < symbols.size(); ++i)
        symbols[i] = char(quint8(data.at(qsizetype(i))) & kSymbolMask);
    std::optional<SGraphicsRecord> record = RecordOf(instruction, symbols);
    if (record) {
        (*record)[14] = quint8(packNumber & 0xFF);
        (*record)[15] = quint8(packNumber >> 8);
    }
    return record;
}

void PackSixBitValues(QByteArrayView values, std::span<quint8> out)
{
    quint32 pending = 0; // bits not yet written, right-aligned
    int pendingCount = 0;
    size_t next = 0;
    for (const char value : values) {
        if (next >= out.size())
            return;
        pending = (pending << 6) | (quint8(value) & kSymbolMask);
        pendingCount += 6;
        while (pendingCount >= 8 && next < out.size()) {
            pendingCount -= 8;
            out[next++] = quint8(pending >> pendingCount);
            pending &= (1u << pendingCount) - 1;
        }
    }
    if (pendingCount > 0 && next < out.size())
        out[next] = quint8(pending << (8 - pendingCount));
}

} // namespace velmora
