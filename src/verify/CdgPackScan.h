#pragma once

#include "verify/ContentHash.h"
#include "verify/StreamSink.h"

#include <QByteArray>

namespace velmora {

// What a scan over every 24-byte packet of a CD+G stream found.
struct SCdgScan
{
    qint64 nSize = 0;
    qint64 nPackets = 0;
    qint64 nEmpty = 0;          // packets of no subcode mode (all but the mode bits unused)
    qint64 nInstructions = 0;   // TV or extended graphics packets with a known instruction
    qint64 nDrawing = 0;        // of them, tile blocks: the only ones that put lyrics on screen
    qint64 nForeign = 0;        // anything else
    qint64 nFirstForeignOffset = -1;
    qint64 nLeftover = 0;       // bytes after the last whole packet
    bool bMakerForm = false;    // the maker's tagged or MCG/NCG form, not a plain stream
    QByteArray digest;          // of every byte

    double Seconds() const { return double(nPackets) / 300.0; }
};

// Classifies every packet of a CD+G stream handed over in order (IStreamSink). It keeps
// the first and last bytes of the stream, so that the maker's forms, which are no packet
// streams, are recognised at the end and left to the graphics reader.
class CCdgPackScan final : public IStreamSink
{
public:
    qsizetype Feed(QByteArrayView data, bool atEnd) override;
    const SCdgScan &Result() const { return m_scan; }

private:
    void ScanPacket(QByteArrayView packet, qint64 offset);
    void Finish();

    qint64 m_offset = 0;
    QByteArray m_head;
    QByteArray m_tail;
    CContentHash m_hash;
    SCdgScan m_scan;
};

} // namespace velmora
