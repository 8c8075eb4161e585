// The readers of the song verification: the MP3 frame walk, the CD+G packet scan, and the
// small header readers (tags at the end of audio, WAV chunks, lyric events of MIDI files).
#include "fuzz/FuzzTargets.h"

#include "base/ByteReader.h"
#include "verify/AudioTags.h"
#include "verify/CdgPackScan.h"
#include "verify/KarLyrics.h"
#include "verify/Mp3FrameWalk.h"
#include "verify/StreamReasons.h"
#include "verify/WavInfo.h"

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

// Hands data to sink in pieces of the given size, keeping back what the sink leaves, as a
// file is read block by block.
template <typename TSink>
void FeedInPieces(TSink &sink, QByteArrayView data, qsizetype piece)
{
    QByteArray held;
    for (qsizetype at = 0; at < data.size(); at += piece) {
        held += data.sliced(at, qMin(piece, data.size() - at));
        held.remove(0, sink.Feed(held, false));
    }
    sink.Feed(held, true);
}

// The first byte picks the piece size (from a few bytes, so headers and packets are split,
// to some kilobytes); the rest is the stream.
qsizetype PieceSize(QByteArrayView data)
{
    return data.isEmpty() ? 1 : 3 + quint8(data[0]) * 61;
}

bool SameWalk(const SMp3Walk &a, const SMp3Walk &b)
{
    if (a.nFrames != b.nFrames || a.nDeclaredFrames != b.nDeclaredFrames || a.digest != b.digest
        || a.nCutFrameOffset != b.nCutFrameOffset || a.nTrailingOffset != b.nTrailingOffset
        || a.nTrailingSize != b.nTrailingSize || a.damaged.size() != b.damaged.size())
        return false;
    for (qsizetype i = 0; i < a.damaged.size(); ++i) {
        if (a.damaged.at(i).nOffset != b.damaged.at(i).nOffset || a.damaged.at(i).nSize != b.damaged.at(i).nSize)
            return false;
    }
    return true;
}

bool WalkKeepsItsPromises(const SMp3Walk &walk, qint64 size)
{
    qint64 end = 0;
    for (const SDamagedRange &range : walk.damaged) {
        if (range.nOffset < end || range.nSize <= 0 || range.nOffset + range.nSize > size || range.nZeros > range.nSize)
            return false;
        end = range.nOffset + range.nSize;
    }
    if (walk.nSize != size || walk.nFrames < 0 || walk.dSeconds < 0)
        return false;
    if (walk.nCutFrameOffset >= size || walk.nTrailingOffset + walk.nTrailingSize > size)
        return false;
    for (const SFileReason &reason : Mp3Reasons(walk)) {
        if (reason.strCode != u"audio-damaged"_s && reason.strCode != u"audio-truncated"_s
            && reason.strCode != u"audio-unreadable"_s)
            return false;
    }
    return true;
}

} // namespace

bool FuzzMp3FrameWalk(QByteArrayView data)
{
    const QByteArrayView stream = data.isEmpty() ? data : data.sliced(1);
    CMp3FrameWalker whole;
    whole.Feed(stream, true);
    CMp3FrameWalker pieces;
    FeedInPieces(pieces, stream, PieceSize(data));
    return WalkKeepsItsPromises(whole.Result(), stream.size()) && SameWalk(whole.Result(), pieces.Result());
}

bool FuzzCdgPackScan(QByteArrayView data)
{
    const QByteArrayView stream = data.isEmpty() ? data : data.sliced(1);
    CCdgPackScan whole;
    whole.Feed(stream, true);
    CCdgPackScan pieces;
    FeedInPieces(pieces, stream, PieceSize(data));
    const SCdgScan &a = whole.Result();
    const SCdgScan &b = pieces.Result();
    const bool counted = a.nPackets * 24 + a.nLeftover == stream.size() && a.nEmpty + a.nInstructions + a.nForeign == a.nPackets
        && a.nDrawing <= a.nInstructions && a.nLeftover < 24;
    const bool same = a.nPackets == b.nPackets && a.nForeign == b.nForeign && a.nDrawing == b.nDrawing
        && a.digest == b.digest && a.bMakerForm == b.bMakerForm && a.nFirstForeignOffset == b.nFirstForeignOffset;
    for (const SFileReason &reason : CdgReasons(a)) {
        if (reason.strCode != u"graphics-damaged"_s && reason.strCode != u"graphics-blank"_s)
            return false;
    }
    return counted && same;
}

bool FuzzVerifyHeaders(QByteArrayView data)
{
    const qint64 tags = TrailingTagsStart(data, data.size(), 0);
    if (tags < 0 || tags > data.size())
        return false;
    const qint64 id3 = LeadingId3v2Size(data, true);
    if (id3 < 0)
        return false;
    const SWavInfo wav = ReadWavInfo(data, data.size());
    if (wav.bFound && (wav.dSeconds < 0 || wav.dMissing < 0 || wav.nPresent > data.size()))
        return false;
    return CountLyricEvents(data) >= -1;
}

} // namespace velmora::fuzz
