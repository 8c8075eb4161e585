#include "verify/WavInfo.h"

#include "base/ByteReader.h"

namespace velmora {

SWavInfo ReadWavInfo(QByteArrayView head, qint64 size)
{
    SWavInfo info;
    CByteReader reader(head);
    if (!reader.HasAt(0, "RIFF") || !reader.HasAt(8, "WAVE"))
        return info;
    reader.Seek(12);
    quint32 byteRate = 0;
    while (reader.Ok() && reader.Remaining() >= 8) {
        const qsizetype chunk = reader.Position();
        const quint32 length = (reader.Skip(4), reader.Get_L4());
        if (reader.HasAt(chunk, "fmt ")) {
            CByteReader format(head);
            format.Seek(reader.Position() + 8);
            byteRate = format.Get_L4();
        } else if (reader.HasAt(chunk, "data")) {
            // A stream written live may declare no size (0 or all ones): its data runs to the end.
            const qint64 start = reader.Position();
            const bool open = length == 0 || length == 0xFFFFFFFFu;
            info.nPresent = qMax<qint64>(size - start, 0);
            info.nDeclared = open ? info.nPresent : qint64(length);
            if (byteRate == 0)
                return info;
            info.bFound = true;
            info.dSeconds = double(info.nDeclared) / byteRate;
            info.dMissing = info.nDeclared > info.nPresent ? double(info.nDeclared - info.nPresent) / byteRate : 0.0;
            return info;
        }
        reader.Skip(qsizetype(length + (length & 1)));
    }
    return info;
}

} // namespace velmora
