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

} // namespace velmora::samplegen
