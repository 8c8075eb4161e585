#include "samplegen/Mp3Writer.h"

#include "samplegen/Id3Writer.h"

#include <algorithm>
#include <cstring>

namespace velmora::samplegen {

namespace {

// Sync and MPEG-1 Layer III without CRC; 128 kbit/s, 44100 Hz, no padding;
// joint stereo, original. Zero side info means no coded samples: silence.
constexpr unsigned char kFrameHeader[4] = {0xFF, 0xFB, 0x90, 0x64};

} // namespace

QByteArray MakeMp3Frames(int frameCount)
{
    if (frameCount < 1 || frameCount > kMaxMp3Frames)
        return {};
    QByteArray frames(qsizetype(frameCount) * kMp3FrameBytes, '\0');
    for (qsizetype offset = 0; offset < frames.size(); offset += kMp3FrameBytes)
        std::memcpy(frames.data() + offset, kFrameHeader, sizeof kFrameHeader);
    return frames;
}

int Mp3FramesForSeconds(int seconds)
{
    if (seconds <= 0)
        return 0;
    const qint64 samples = qint64(seconds) * kMp3SampleRate;
    const qint64 frames = (samples + kMp3SamplesPerFrame - 1) / kMp3SamplesPerFrame;
    return int(std::min<qint64>(frames, kMaxMp3Frames));
}

QByteArray MakeMp3File(const SId3Fields *fields, bool withV2, bool withV1, int frameCount)
{
    QByteArray file;
    if (fields && withV2)
        file += MakeId3v23Tag(*fields);
    file += MakeMp3Frames(frameCount);
    if (fields && withV1)
        file += MakeId3v1Tag(*fields);
    return file;
}

namespace {

constexpr int kFullSideInfoBytes = 32;
constexpr int kFullFrameStem = 144000 * kFullMp3BitRate / kMp3SampleRate;        // 522
constexpr int kFullPaddingStep = 144000 * kFullMp3BitRate % kMp3SampleRate;      // 19,800

QByteArray FullFrameHeader(bool padding)
{
    // Bit-rate index 10 is 160 kbit/s; the padding bit is 0x02 of the third byte.
    return QByteArray::fromHex(padding ? "FFFBA264" : "FFFBA064");
}

void FillPayload(char *out, qsizetype size, quint64 &state)
{
    for (qsizetype i = 0; i < size; i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const qsizetype count = std::min<qsizetype>(8, size - i);
        std::memcpy(out + i, &state, size_t(count));
    }
}

} // namespace

QByteArray MakeFullLengthMp3Frames(int seconds, quint64 seed)
{
    const int frames = Mp3FramesForSeconds(seconds);
    if (frames <= 0)
        return {};
    // The Info frame: an unpadded frame holding the counts after its side information.
    QByteArray stream = FullFrameHeader(false) + QByteArray(kFullFrameStem - 4, '\0');
    QByteArray info = QByteArray("Info") + QByteArray::fromHex("00000003");
    quint64 padding = 0;
    qint64 bytes = stream.size();
    for (int i = 0; i < frames; ++i) {
        padding += kFullPaddingStep;
        const bool pad = padding >= quint64(kMp3SampleRate);
        if (pad)
            padding -= kMp3SampleRate;
        bytes += kFullFrameStem + (pad ? 1 : 0);
    }
    for (const quint32 value : {quint32(frames), quint32(bytes)})
        for (int shift = 24; shift >= 0; shift -= 8)
            info.append(char((value >> shift) & 0xFF));
    stream.replace(4 + kFullSideInfoBytes, info.size(), info);
    stream.reserve(bytes);
    quint64 state = seed * 0x9E3779B97F4A7C15ULL + 0x2545F4914F6CDD1DULL;
    padding = 0;
    for (int i = 0; i < frames; ++i) {
        padding += kFullPaddingStep;
        const bool pad = padding >= quint64(kMp3SampleRate);
        if (pad)
            padding -= kMp3SampleRate;
        const qsizetype length = kFullFrameStem + (pad ? 1 : 0);
        const qsizetype at = stream.size();
        stream += FullFrameHeader(pad);
        stream.resize(at + length, '\0');
        FillPayload(stream.data() + at + 4 + kFullSideInfoBytes, length - 4 - kFullSideInfoBytes, state);
    }
    return stream;
}

QByteArray MakeFullLengthMp3File(const SId3Fields *fields, bool withV2, bool withV1, int seconds, quint64 seed)
{
    QByteArray file;
    if (fields && withV2)
        file += MakeId3v23Tag(*fields);
    file += MakeFullLengthMp3Frames(seconds, seed);
    if (fields && withV1)
        file += MakeId3v1Tag(*fields);
    return file;
}

} // namespace velmora::samplegen
