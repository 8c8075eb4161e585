// ID3 version 2 header, body and frames, and the ID3 version 1 trailer.
#include "fuzz/FuzzTargets.h"

#include "inspect/Id3v1Tag.h"
#include "inspect/Id3v2Tag.h"

namespace velmora::fuzz {

bool FuzzId3v2(QByteArrayView data)
{
    const SId3v2Header header = ReadId3v2Header(data);
    if (header.bFound != (data.size() >= kId3v2HeaderSize && data.startsWith("ID3")))
        return false;
    const QByteArrayView body = Id3v2Body(data, header);
    if (body.size() > qMax<qsizetype>(0, data.size() - kId3v2HeaderSize))
        return false;
    if (ReadId3v2Frames(body, header.wVersion, header.nFlags).size() != Id3v2ValueCount)
        return false;
    // The frame walk also runs over the whole input, under version 2.2, 2.3 or 2.4 as its
    // first byte picks, so frame layouts are explored without a valid header in front.
    const quint16 version = quint16((2 + (data.isEmpty() ? 0 : quint8(data.front()) % 3)) << 8);
    return ReadId3v2Frames(data, version, header.nFlags).size() == Id3v2ValueCount;
}

bool FuzzId3v1(QByteArrayView data)
{
    const QByteArrayView trailer = Id3v1Trailer(data);
    if (!trailer.isEmpty() && (trailer.size() != kId3v1TagSize || !trailer.startsWith("TAG")))
        return false;
    return ReadId3v1(trailer).size() == kId3v1ValueCount && ReadId3v1(data).size() == kId3v1ValueCount;
}

} // namespace velmora::fuzz
