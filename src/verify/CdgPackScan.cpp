#include "verify/CdgPackScan.h"

#include "base/ByteReader.h"
#include "inspect/CdgPacket.h"

namespace velmora {

namespace {

constexpr quint8 kModeMask = 0x3F;
constexpr quint8 kTvGraphics = 0x09;
constexpr quint8 kExtendedGraphics = 0x0A;
constexpr qsizetype kHeadBytes = 16;
constexpr qsizetype kTailBytes = 32;
constexpr qsizetype kTaggedMarkFromEnd = 13;

// The instructions of the graphics modes: presets, tiles, scrolls, transparency and the
// two halves of the colour table.
bool IsKnownInstruction(quint8 instruction)
{
    switch (instruction) {
    case 1: case 2: case 6: case 20: case 24: case 28: case 30: case 31: case 38:
        return true;
    default:
        return false;
    }
}

bool IsTileBlock(quint8 instruction)
{
    return instruction == 6 || instruction == 38;
}

} // namespace

qsizetype CCdgPackScan::Feed(QByteArrayView data, bool atEnd)
{
    const qsizetype whole = atEnd ? data.size() : data.size() - data.size() % kCdgPacketSize;
    qsizetype at = 0;
    for (; at + kCdgPacketSize <= whole; at += kCdgPacketSize)
        ScanPacket(data.sliced(at, kCdgPacketSize), m_offset + at);
    if (atEnd) {
        m_scan.nLeftover = whole - at;
        at = whole;
    }
    const QByteArrayView consumed = data.first(at);
    // Bytes not taken come again with the next feed: only what is taken counts.
    if (m_head.size() < kHeadBytes)
        m_head.append(consumed.first(qMin(consumed.size(), kHeadBytes - m_head.size())));
    m_hash.Add(consumed);
    if (!consumed.isEmpty())
        m_tail = (m_tail + consumed.last(qMin(consumed.size(), kTailBytes)).toByteArray()).right(kTailBytes);
    m_offset += at;
    if (atEnd)
        Finish();
    return at;
}

void CCdgPackScan::ScanPacket(QByteArrayView packet, qint64 offset)
{
    ++m_scan.nPackets;
    CByteReader reader(packet);
    const quint8 mode = reader.Get_B1() & kModeMask;
    const quint8 instruction = reader.Get_B1() & kModeMask;
    if (mode == 0) {
        ++m_scan.nEmpty;
    } else if ((mode == kTvGraphics || mode == kExtendedGraphics) && IsKnownInstruction(instruction)) {
        ++m_scan.nInstructions;
        m_scan.nDrawing += IsTileBlock(instruction) ? 1 : 0;
    } else {
        ++m_scan.nForeign;
        if (m_scan.nFirstForeignOffset < 0)
            m_scan.nFirstForeignOffset = offset;
    }
}

void CCdgPackScan::Finish()
{
    m_scan.nSize = m_offset;
    const CByteReader head(m_head);
    const CByteReader tail(m_tail);
    m_scan.bMakerForm = head.HasAt(0, "KLOVNCG") || head.HasAt(0, "KLOVMC")
        || (m_tail.size() >= kTaggedMarkFromEnd && tail.HasAt(m_tail.size() - kTaggedMarkFromEnd, "KLOVUSA"));
    m_scan.digest = m_hash.Digest();
}

} // namespace velmora
