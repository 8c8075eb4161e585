#pragma once

#include <QByteArray>

namespace velmora::samplegen {

struct SId3Fields;

// MPEG-1 Layer III at 128 kbit/s and 44100 Hz without padding: 144000 * 128 / 44100 bytes.
inline constexpr int kMp3FrameBytes = 417;
inline constexpr int kMp3SamplesPerFrame = 1152;
inline constexpr int kMp3SampleRate = 44100;
// About an hour of audio; keeps a bad count from asking for gigabytes.
inline constexpr int kMaxMp3Frames = 140000;

// Silent frames, each the header FF FB 90 64 followed by zero side info and main data.
// Empty when frameCount is outside 1..kMaxMp3Frames.
QByteArray MakeMp3Frames(int frameCount);

// The number of frames that covers the given time, rounded up and capped at kMaxMp3Frames;
// 0 for a time of 0 or less.
int Mp3FramesForSeconds(int seconds);

// A whole MP3 file: an ID3v2.3 tag when withV2, the frames, an ID3v1 trailer when withV1.
// A null fields pointer writes neither tag.
QByteArray MakeMp3File(const SId3Fields *fields, bool withV2, bool withV1, int frameCount);

// Full-length audio as an encoder writes it: MPEG-1 Layer III at 160 kbit/s and 44100 Hz,
// frames of 522 bytes padded to 523 now and then to keep the rate, an Info header frame in
// front with the frame and byte counts, and a payload drawn from seed after zero side
// information (so decoders play silence, yet no two songs are alike). 20,000 bytes a second.
inline constexpr int kFullMp3BitRate = 160;
QByteArray MakeFullLengthMp3Frames(int seconds, quint64 seed);
QByteArray MakeFullLengthMp3File(const SId3Fields *fields, bool withV2, bool withV1, int seconds, quint64 seed);

} // namespace velmora::samplegen
