#include "verify/Mp3FrameWalk.h"

#include "base/ByteReader.h"
#include "verify/AudioTags.h"

#include <cstring>

namespace velmora {

namespace {

constexpr qsizetype kKeptHeadBytes = 16;
// "LYRICSBEGIN", the longest mark StartsAudioTag looks for.
constexpr qsizetype kLongestTagMark = 11;
// Frames that must follow a sync pattern before it is taken for the start of audio.
constexpr int kFramesToConfirm = 3;

// The next byte at or after from that could open a frame header, or -1.
qsizetype NextSyncByte(QByteArrayView data, qsizetype from)
{
    if (from >= data.size())
        return -1;
    const void *found = std::memchr(data.data() + from, 0xFF, size_t(data.size() - from));
    return found ? static_cast<const char *>(found) - data.data() : -1;
}

qint64 CountZeros(QByteArrayView bytes)
{
    qint64 zeros = 0;
    for (const char byte : bytes)
        zeros += byte == 0 ? 1 : 0;
    return zeros;
}

} // namespace

qsizetype CMp3FrameWalker::Feed(QByteArrayView data, bool atEnd)
{
    qsizetype at = 0;
    bool wait = false;
    while (!wait && at < data.size()) {
        switch (m_state) {
        case EState::Lead: {
            const qsizetype before = at;
            at = FeedLead(data, at, atEnd);
            wait = m_state == EState::Lead && at == before;
            break;
        }
        case EState::SkipTag: {
            const qint64 take = qMin<qint64>(m_skip, data.size() - at);
            at += qsizetype(take);
            m_skip -= take;
            if (m_skip == 0)
                m_state = EState::Lead;
            break;
        }
        case EState::Search:
            at = FeedSearch(data, at, atEnd, &wait);
            break;
        case EState::Sync:
            at = FeedSync(data, at, atEnd, &wait);
            break;
        }
    }
    if (atEnd)
        at = data.size();
    // Bytes not taken come again with the next feed: only what is taken counts.
    if (m_walk.head.size() < kKeptHeadBytes)
        m_walk.head.append(data.first(qMin(at, kKeptHeadBytes - m_walk.head.size())));
    KeepTail(data.first(at));
    m_offset += at;
    if (atEnd)
        Finish();
    return at;
}

// Tags and padding in front of the audio. Returns at unchanged, state unchanged, only when
// more bytes are needed to tell.
qsizetype CMp3FrameWalker::FeedLead(QByteArrayView data, qsizetype at, bool atEnd)
{
    const qint64 tag = LeadingId3v2Size(data.sliced(at), atEnd);
    if (tag < 0)
        return at;
    if (tag > 0) {
        m_skip = tag;
        m_state = EState::SkipTag;
        return at;
    }
    const qsizetype start = at;
    while (at < data.size() && data[at] == 0)
        ++at;
    if (at == start) {
        StartJunk(data, at);
        m_state = EState::Search;
    }
    return at;
}

qsizetype CMp3FrameWalker::FeedSearch(QByteArrayView data, qsizetype at, bool atEnd, bool *wait)
{
    qsizetype waitAt = -1;
    const qsizetype found = ConfirmedFrame(data, at, atEnd, &waitAt);
    qsizetype stop = found;
    if (found < 0)
        stop = waitAt >= 0 ? waitAt : atEnd ? data.size() : qMax(at, data.size() - 3);
    NoteJunkBytes(data.sliced(at, stop - at));
    if (found < 0) {
        *wait = !atEnd;
        return stop;
    }
    EndJunk(m_offset + found);
    if (!m_stream)
        m_stream = ParseMpegHeader(data.sliced(found, 4));
    m_state = EState::Sync;
    return found;
}

qsizetype CMp3FrameWalker::FeedSync(QByteArrayView data, qsizetype at, bool atEnd, bool *wait)
{
    const qsizetype run = at;
    bool lost = false;
    while (!lost) {
        if (at + 4 > data.size()) {
            *wait = !atEnd;
            lost = atEnd && at < data.size();
            break;
        }
        const std::optional<SMpegHeader> header = SyncHeader(data.sliced(at, 4));
        if (!header || !header->SameStream(*m_stream)) {
            lost = true;
            break;
        }
        if (at + header->nFrameLength > data.size()) {
            *wait = !atEnd;
            if (atEnd) {
                lost = true;
                m_partialLength = header->nFrameLength;
            }
            break;
        }
        TakeFrame(data.sliced(at, header->nFrameLength), *header, m_offset + at);
        at += header->nFrameLength;
    }
    m_hash.Add(data.sliced(run, at - run));
    if (!lost)
        return at;
    const qint64 partial = m_partialLength;
    StartJunk(data, at);
    m_partialLength = partial;
    m_state = EState::Search;
    NoteJunkBytes(data.sliced(at, 1));
    return at + 1;
}

// The first offset from from on where a frame opens that the frames after it confirm, or -1;
// *waitAt is set instead when telling would need bytes beyond the end of data.
qsizetype CMp3FrameWalker::ConfirmedFrame(QByteArrayView data, qsizetype from, bool atEnd, qsizetype *waitAt) const
{
    for (qsizetype at = NextSyncByte(data, from); at >= 0; at = NextSyncByte(data, at + 1)) {
        if (at + 4 > data.size()) {
            if (!atEnd)
                *waitAt = at;
            return -1;
        }
        const std::optional<SMpegHeader> header = ParseMpegHeader(data.sliced(at, 4));
        if (!header || (m_stream && !header->SameStream(*m_stream)))
            continue;
        qsizetype next = at + header->nFrameLength;
        int followers = 0;
        bool confirmed = false;
        while (followers < kFramesToConfirm) {
            // Enough bytes to see a whole tag mark there, or the end of the stream.
            if (next + 4 > data.size() || (!atEnd && next + kLongestTagMark > data.size())) {
                if (!atEnd) {
                    *waitAt = at;
                    return -1;
                }
                confirmed = next == data.size();
                break;
            }
            if (StartsAudioTag(data.sliced(next))) {
                confirmed = true;
                break;
            }
            const std::optional<SMpegHeader> follower = ParseMpegHeader(data.sliced(next, 4));
            if (!follower || !follower->SameStream(*header))
                break;
            next += follower->nFrameLength;
            ++followers;
        }
        if (confirmed || followers == kFramesToConfirm)
            return at;
    }
    return -1;
}

std::optional<SMpegHeader> CMp3FrameWalker::SyncHeader(QByteArrayView bytes)
{
    CByteReader reader(bytes);
    const quint32 word = reader.Get_B4();
    for (const SKnownHeader &known : m_known) {
        if (known.nWord == word && known.header.nFrameLength > 0)
            return known.header;
    }
    const std::optional<SMpegHeader> header = ParseMpegHeader(bytes);
    if (header) {
        m_known[m_nextKnown] = {word, *header};
        m_nextKnown = (m_nextKnown + 1) % m_known.size();
    }
    return header;
}

void CMp3FrameWalker::TakeFrame(QByteArrayView frame, const SMpegHeader &header, qint64 offset)
{
    const bool first = m_lastFrameOffset < 0;
    m_lastFrameOffset = offset;
    m_lastFrameLength = header.nFrameLength;
    m_lastFrameSamples = 0;
    if (first) {
        const qint64 declared = DeclaredFrameCount(frame, header);
        if (declared >= 0) {
            // The header frame is silent: it carries the stream's table, not audio.
            m_walk.nDeclaredFrames = declared;
            m_headerFrame = true;
            return;
        }
    }
    m_lastFrameSamples = header.nSamples;
    m_samples += header.nSamples;
    m_frameBytes += header.nFrameLength;
    ++m_walk.nFrames;
}

void CMp3FrameWalker::StartJunk(QByteArrayView data, qsizetype at)
{
    m_junkStart = m_offset + at;
    m_junkZeros = 0;
    m_junkId3 = data.sliced(at).startsWith("ID3");
    m_junkForeign = ParseMpegHeader(data.sliced(at, qMin<qsizetype>(4, data.size() - at)));
    if (m_junkForeign && m_stream && m_junkForeign->SameStream(*m_stream))
        m_junkForeign.reset();
    m_partialLength = 0;
}

void CMp3FrameWalker::NoteJunkBytes(QByteArrayView bytes)
{
    m_junkZeros += CountZeros(bytes);
}

void CMp3FrameWalker::EndJunk(qint64 end)
{
    if (m_junkStart >= 0 && end > m_junkStart) {
        SDamagedRange range;
        range.nOffset = m_junkStart;
        range.nSize = end - m_junkStart;
        range.dSeconds = m_stream ? double(m_samples) / m_stream->nSampleRate : 0.0;
        range.nZeros = m_junkZeros;
        range.bId3Tag = m_junkId3;
        range.foreignHeader = m_junkForeign;
        m_walk.damaged.append(range);
    }
    m_junkStart = -1;
    m_partialLength = 0;
}

void CMp3FrameWalker::KeepTail(QByteArrayView consumed)
{
    if (consumed.size() >= kKeptTailBytes) {
        m_tail = consumed.last(kKeptTailBytes).toByteArray();
        return;
    }
    m_tail.append(consumed);
    if (m_tail.size() > 2 * kKeptTailBytes)
        m_tail.remove(0, m_tail.size() - kKeptTailBytes);
}

void CMp3FrameWalker::Finish()
{
    const qint64 end = m_offset;
    m_walk.nSize = end;
    const qint64 tags = TrailingTagsStart(m_tail, end, 0);
    const qint64 lastFrameEnd = m_lastFrameOffset + m_lastFrameLength;
    const qint64 leftover = m_state == EState::Search && m_junkStart >= 0 ? m_junkStart : end;
    if (m_lastFrameOffset >= 0 && lastFrameEnd > tags) {
        // What looked like the last frame ran on into the tags: it was cut short.
        m_samples -= m_lastFrameSamples;
        m_frameBytes -= m_lastFrameSamples > 0 ? m_lastFrameLength : 0;
        m_walk.nFrames -= m_lastFrameSamples > 0 ? 1 : 0;
        m_walk.nCutFrameOffset = m_lastFrameOffset;
        m_walk.nCutFrameLength = m_lastFrameLength;
        m_walk.nCutFrameMissing = lastFrameEnd - tags;
    } else if (m_lastFrameOffset >= 0 && leftover < tags) {
        if (m_partialLength > 0 && leftover + m_partialLength > tags) {
            m_walk.nCutFrameOffset = leftover;
            m_walk.nCutFrameLength = m_partialLength;
            m_walk.nCutFrameMissing = leftover + m_partialLength - tags;
        } else {
            m_walk.nTrailingOffset = leftover;
            m_walk.nTrailingSize = tags - leftover;
            // The tags after the junk were counted with it; they hold few zeros, and the
            // count only says whether the junk is mostly zeros.
            m_walk.nTrailingZeros = qMin(m_junkZeros, m_walk.nTrailingSize);
        }
    }
    if (m_stream) {
        m_walk.nSampleRate = m_stream->nSampleRate;
        m_walk.nSamplesPerFrame = m_stream->nSamples;
        m_walk.dSeconds = double(m_samples) / m_stream->nSampleRate;
    }
    m_walk.dBytesPerSecond = m_walk.dSeconds > 0 ? double(m_frameBytes) / m_walk.dSeconds : 0.0;
    m_walk.digest = m_hash.Digest();
}

} // namespace velmora
