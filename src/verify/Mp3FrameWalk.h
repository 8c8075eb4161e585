#pragma once

#include "verify/ContentHash.h"
#include "verify/MpegHeader.h"
#include "verify/StreamSink.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <optional>

namespace velmora {

// Bytes inside an MPEG audio stream that are not frames.
struct SDamagedRange
{
    qint64 nOffset = 0;
    qint64 nSize = 0;
    double dSeconds = 0;   // playing time of the frames before it
    qint64 nZeros = 0;     // how many of its bytes are zero
    bool bId3Tag = false;  // it opens with an ID3v2 tag
    // It opens with the header of a frame of another stream (version, layer or rate).
    std::optional<SMpegHeader> foreignHeader;
};

// What a walk over every frame of an MP3 stream found.
struct SMp3Walk
{
    qint64 nSize = 0;            // bytes of the stream
    qint64 nFrames = 0;          // audio frames (a Xing, Info or VBRI header frame not counted)
    double dSeconds = 0;         // their playing time
    double dBytesPerSecond = 0;  // average over the frames
    int nSampleRate = 0;
    int nSamplesPerFrame = 0;
    qint64 nDeclaredFrames = -1; // from a Xing, Info or VBRI header
    QList<SDamagedRange> damaged;
    // The end: the last frame cut short, or bytes after the last frame that are no frames
    // (tags aside).
    qint64 nCutFrameOffset = -1;
    qint64 nCutFrameMissing = 0; // bytes missing from the cut frame
    qint64 nCutFrameLength = 0;
    qint64 nTrailingOffset = -1;
    qint64 nTrailingSize = 0;
    qint64 nTrailingZeros = 0;
    QByteArray digest;           // of the frames' bytes, tags and damage aside
    QByteArray head;             // the first bytes of the stream, to say what it is instead

    bool HasFrames() const { return nFrames > 0 || nDeclaredFrames >= 0; }
};

// Walks the frames of an MPEG audio stream handed over in order (IStreamSink): skips the
// ID3v2 tags and padding in front, follows frame after frame, finds sync again after
// bytes that are not frames, and at the end tells tags from a cut-off stream. A frame is
// first taken only when the three frames after it follow on (or the stream or a tag
// follows it), so a chance sync pattern in damaged bytes is not taken for audio.
class CMp3FrameWalker final : public IStreamSink
{
public:
    qsizetype Feed(QByteArrayView data, bool atEnd) override;
    // The findings; complete after the Feed with atEnd.
    const SMp3Walk &Result() const { return m_walk; }

private:
    enum class EState { Lead, SkipTag, Search, Sync };

    qsizetype FeedLead(QByteArrayView data, qsizetype at, bool atEnd);
    qsizetype FeedSearch(QByteArrayView data, qsizetype at, bool atEnd, bool *wait);
    qsizetype FeedSync(QByteArrayView data, qsizetype at, bool atEnd, bool *wait);
    qsizetype ConfirmedFrame(QByteArrayView data, qsizetype from, bool atEnd, qsizetype *waitAt) const;
    std::optional<SMpegHeader> SyncHeader(QByteArrayView bytes);
    void TakeFrame(QByteArrayView frame, const SMpegHeader &header, qint64 offset);
    void StartJunk(QByteArrayView data, qsizetype at);
    void NoteJunkBytes(QByteArrayView bytes);
    void EndJunk(qint64 end);
    void KeepTail(QByteArrayView consumed);
    void Finish();

    EState m_state = EState::Lead;
    qint64 m_offset = 0;          // stream offset of the next byte handed over
    qint64 m_skip = 0;            // tag bytes still to skip
    std::optional<SMpegHeader> m_stream;
    qint64 m_samples = 0;
    qint64 m_frameBytes = 0;
    qint64 m_lastFrameOffset = -1;
    qint64 m_lastFrameLength = 0;
    int m_lastFrameSamples = 0;
    bool m_headerFrame = false;   // the first frame holds a Xing, Info or VBRI header
    // The run of bytes that are not frames being skipped now.
    qint64 m_junkStart = -1;
    qint64 m_junkZeros = 0;
    bool m_junkId3 = false;
    std::optional<SMpegHeader> m_junkForeign;
    qint64 m_partialLength = 0;   // the frame header at the end announces this many bytes
    CContentHash m_hash;
    QByteArray m_tail;
    SMp3Walk m_walk;
    // The last headers seen in sync: a stream repeats a few header words over and over.
    struct SKnownHeader
    {
        quint32 nWord = 0;
        SMpegHeader header;
    };
    std::array<SKnownHeader, 4> m_known{};
    size_t m_nextKnown = 0;
};

// The last stream bytes kept to read the tags at the end from: room for ID3v1, Lyrics3
// (version 1 searches 5,100 bytes back) and the footers of APEv2 tags, whose items may be
// larger: an APE tag is skipped by the size its footer gives.
inline constexpr qsizetype kKeptTailBytes = 16 * 1024;

} // namespace velmora
