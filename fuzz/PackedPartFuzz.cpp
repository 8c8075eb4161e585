// Packed parts of a kept check, as a damaged or planted results cache would hold them.
#include "fuzz/FuzzTargets.h"

#include "base/ByteReader.h"
#include "rescan/PackedStreams.h"

namespace velmora::fuzz {

// The first four bytes say how many bytes the part should unpack to (at most 4 MiB, so that
// a run stays fast); the rest is the packed part.
bool FuzzPackedPart(QByteArrayView data)
{
    CByteReader reader(data);
    const qint64 expected = reader.Get_L4() % (qint64(4) << 20);
    const QByteArrayView packed = data.sliced(std::min<qsizetype>(4, data.size()));
    constexpr qsizetype kChunk = 4096;
    qint64 given = 0;
    bool chunksFit = true;
    const bool whole = UnpackChunks(packed, expected, [&](QByteArrayView chunk) {
        given += chunk.size();
        chunksFit = chunksFit && !chunk.isEmpty() && chunk.size() <= kChunk;
        return true;
    }, kChunk);
    // Never more than was said, never an empty or oversized chunk, and whole means all of it.
    return chunksFit && given <= expected && (!whole || given == expected);
}

} // namespace velmora::fuzz
