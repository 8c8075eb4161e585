#pragma once

#include "base/ByteReader.h"

#include <QByteArrayView>

namespace velmora {

// One frame of an ID3 version 2 tag body as the cursor found it.
struct SId3v2Frame
{
    QByteArrayView id;       // four letters; version 2.2 ids mapped, other 2.2 ids empty
    QByteArrayView content;  // the frame's bytes, cut at the end of the body
    quint8 nFormatFlags = 0; // second flag byte (versions 2.3 and 2.4), else 0
};

// Walks the frames of one tag body. The position belongs to this object, so any number of
// tags can be read side by side. The walk ends at padding (a zero id byte), when no whole
// frame header fits any more, or after a frame that runs past the end of the body.
class CId3v2FrameCursor
{
public:
    CId3v2FrameCursor(QByteArrayView body, quint16 wVersion, quint8 nTagFlags);

    bool NextFrame(SId3v2Frame &frame);

private:
    bool IsVersion22() const { return m_wVersion < 0x0300; }
    void SkipExtendedHeader();
    quint32 ReadFrameSize();

    CByteReader m_reader;
    quint16 m_wVersion;
    qsizetype m_nLimit;
    bool m_bDone = false;
};

} // namespace velmora
