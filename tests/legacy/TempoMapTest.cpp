#include "legacy/TempoMap.h"

#include <climits>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

tagTempoInfo Tempo(qint64 tick, quint32 micros)
{
    tagTempoInfo tempo;
    tempo.nStartTick = tick;
    tempo.nMicrosPerQuarter = micros;
    return tempo;
}

MidiSongInfo Song(qint64 endTick, int division, const QList<tagTempoInfo> &tempos)
{
    MidiSongInfo info;
    info.nSongEndTick = endTick;
    info.nTicksPerQuarter = division;
    info.tempos = tempos;
    MeasureMidiDuration(info);
    return info;
}

} // namespace

TEST(MidiTempoMap, LengthsStartTimesAndTickTimes)
{
    QList<tagTempoInfo> tempos{Tempo(0, 500'000), Tempo(960, 1'000'000), Tempo(1440, 250'000)};
    BuildTempoMap(tempos, 2400, 480);
    EXPECT_EQ(tempos[0].nLengthTicks, 960);
    EXPECT_EQ(tempos[1].nLengthTicks, 480);
    EXPECT_EQ(tempos[2].nLengthTicks, 960);
    EXPECT_EQ(tempos[1].nStartMs, 1000);
    EXPECT_EQ(tempos[2].nStartMs, 2000);
    EXPECT_EQ(TickToMilliseconds(tempos, 0, 480), 0);
    EXPECT_EQ(TickToMilliseconds(tempos, 959, 480), 998);  // 959 * 500000 / 480 us, truncated
    EXPECT_EQ(TickToMilliseconds(tempos, 960, 480), 1000);
    EXPECT_EQ(TickToMilliseconds(tempos, 1200, 480), 1500);
    EXPECT_EQ(TickToMilliseconds(tempos, 2400, 480), 2500);
    // Past the end the last tempo goes on.
    EXPECT_EQ(TickToMilliseconds(tempos, 2880, 480), 2750);
}

TEST(MidiTempoMap, EachEntryIsTruncatedToMilliseconds)
{
    // 999 us per tempo change: each one rounds down to 0 ms, so the total is the last part.
    const MidiSongInfo info = Song(4, 1000, {Tempo(0, 999'999), Tempo(1, 999'999), Tempo(2, 999'999), Tempo(3, 999'999)});
    EXPECT_EQ(info.tempos[3].nStartMs, 0);
    EXPECT_EQ(info.nDurationMs, 0);
    // Over a longer stretch the same tempo does count.
    EXPECT_EQ(Song(4, 1000, {Tempo(0, 999'999)}).nDurationMs, 3);
}

TEST(MidiTempoMap, EmptyOrUnusableMaps)
{
    // 1,920 ticks at 480 a quarter and 500,000 us a quarter: 2 s.
    EXPECT_EQ(Song(1920, 480, {Tempo(0, 500'000)}).nDurationSeconds, 2);
    EXPECT_EQ(Song(1920, 480, {}).nDurationMs, 0);
    const MidiSongInfo zero = Song(1920, 0, {Tempo(0, 500'000)});
    EXPECT_EQ(zero.nDurationMs, 0);
    EXPECT_EQ(zero.tempos[0].nLengthTicks, 1920);
    EXPECT_EQ(Song(1920, -96, {Tempo(0, 500'000)}).nDurationMs, 0);
    // A song that ends before its first tempo change takes no time, never a negative one.
    const MidiSongInfo early = Song(100, 480, {Tempo(1000, 500'000)});
    EXPECT_EQ(early.tempos[0].nLengthTicks, 0);
    EXPECT_EQ(early.nDurationMs, 0);
}

TEST(MidiTempoMap, OutOfOrderTemposAreSorted)
{
    const MidiSongInfo unsorted = Song(2880, 480, {Tempo(960, 1'000'000), Tempo(0, 500'000)});
    EXPECT_EQ(unsorted.nDurationMs, 5000);
    EXPECT_EQ(unsorted.tempos[0].nStartTick, 0);
}

TEST(MidiTempoMap, HugeValuesDoNotOverflow)
{
    // The largest tick and slowest tempo: far beyond 32 bits, still exact in 64.
    const MidiSongInfo info = Song(kMaxMidiTick, 1, {Tempo(0, 0xFFFFFF)});
    EXPECT_EQ(info.nDurationMs, kMaxMidiTick * 0xFFFFFF / 1000);
    EXPECT_EQ(info.nDurationSeconds, INT_MAX);
    // Ticks past the limit are held at it; nothing turns negative.
    const MidiSongInfo beyond = Song(qint64(1) << 60, 1, {Tempo(0, 0xFFFFFFFF), Tempo(qint64(1) << 62, 1)});
    EXPECT_GT(beyond.nDurationMs, 0);
    EXPECT_EQ(beyond.nDurationMs, kMaxMidiTick * kMaxMicrosPerQuarter / 1000);
}
